#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>
#include <exception>

#include "desktop/app/main_form.h"
#include "desktop/platform/qt_platform.h"
#include "settings/settings.h"

// Start-up of the desktop program, which takes no command-line arguments: the application, the
// main window, then the dialogs, then the event loop until the main window closes.
int main(int argc, char* argv[]) {
#ifdef SIGXFSZ
    // A write beyond the file-size limit must fail like any other write (and be rolled back),
    // not end the program half-way through it.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    // The application's title, caption of the plain messages. Only the name is set: a display
    // name would be appended to every window caption.
    QApplication::setApplicationName(QStringLiteral("Trelvanox"));
    // Qt's own dialogs (files, printing) speak Russian like the rest of the program.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);
    trelvanox::TQtPlatform platform;
    try {
        // The settings file lives beside the executable.
        const auto folder = std::filesystem::path(
            QFile::encodeName(QApplication::applicationDirPath()).toStdString());
        trelvanox::TFmMainForm form(platform, trelvanox::SettingsFilePath(folder));
        form.setAttribute(Qt::WA_QuitOnClose);
        form.CreateDialogs();
        form.show();
        return app.exec();
    } catch (const std::exception& e) {
        platform.ShowError(nullptr, QString::fromUtf8(e.what()));
    } catch (...) {
        platform.ShowError(nullptr, QString());
    }
    return 1;
}
