#include "desktop/platform/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace trelvanox {

bool InstallQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    const QLocale russian(QLocale::Russian);
    const QString catalogue = QStringLiteral("qtbase");
    const QString separator = QStringLiteral("_");
    // Qt's own folder where it is installed, else the copy built into the program (the Windows
    // program links a static Qt that has no such folder).
    if (!translator->load(russian, catalogue, separator,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        !translator->load(russian, catalogue, separator, QStringLiteral(":/translations"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace trelvanox
