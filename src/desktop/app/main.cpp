#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <csignal>
#include <exception>

#include "common/user_folders.h"
#include "desktop/app/main_form.h"
#include "desktop/platform/qt_platform.h"
#include "settings/settings.h"
#include "settings/settings_place.h"

// Start-up of the desktop program: the application, the main window, then the dialogs, a file
// named on the command line, then the event loop until the main window closes. The settings file
// lives beside the executable when that folder takes it, else in the user's configuration folder.
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
    // The installed menu entry and icon carry the application id; the desktop matches the
    // windows to them by it.
    QApplication::setDesktopFileName(QStringLiteral("org.trelvanox.Trelvanox"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.trelvanox.Trelvanox")));
    // Qt's own dialogs (files, printing) speak Russian like the rest of the program.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);
    trelvanox::TQtPlatform platform;
    try {
        const auto programFolder =
            std::filesystem::path(QApplication::applicationDirPath().toStdU16String());
        trelvanox::TFmMainForm form(platform, trelvanox::SettingsFilePath(trelvanox::SettingsFolder(
                                                  programFolder, trelvanox::UserConfigFolder())));
        form.setAttribute(Qt::WA_QuitOnClose);
        form.CreateDialogs();
        form.show();
        // One optional argument, as a file manager's "Открыть с помощью" passes it; Qt has
        // taken its own options out already.
        if (const QStringList args = QApplication::arguments(); args.size() > 1)
            form.OpenFromCommandLine(args.at(1));
        return app.exec();
    } catch (const std::exception& e) {
        platform.ShowError(nullptr, QString::fromUtf8(e.what()));
    } catch (...) {
        platform.ShowError(nullptr, QString());
    }
    return 1;
}
