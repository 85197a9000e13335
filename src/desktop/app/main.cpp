#include <QApplication>
#include <QIcon>
#include <QStringList>
#include <csignal>
#include <exception>

#include "common/user_folders.h"
#include "desktop/app/main_form.h"
#include "desktop/app/user_state.h"
#include "desktop/platform/qt_platform.h"
#include "desktop/platform/qt_translations.h"
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
    QIcon ownIcon;
    for (const char* size : {"16", "32", "48", "256"})
        ownIcon.addFile(QStringLiteral(":/icons/%1.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("org.trelvanox.Trelvanox"), ownIcon));
    trelvanox::InstallQtTranslations(app);
    // The settings file also keeps the file dialogs' size.
    const auto programFolder =
        std::filesystem::path(QApplication::applicationDirPath().toStdU16String());
    const auto settingsFile = trelvanox::SettingsFilePath(
        trelvanox::SettingsFolder(programFolder, trelvanox::UserConfigFolder()));
    trelvanox::TQtPlatform platform(settingsFile);
    try {
        trelvanox::TFmMainForm form(platform, settingsFile);
        form.setAttribute(Qt::WA_QuitOnClose);
        form.CreateDialogs();
        form.UseUserState(trelvanox::DefaultUserStatePath());
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
