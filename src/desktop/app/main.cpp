#include <QApplication>
#include <QFile>
#include <csignal>
#include <exception>

#include "desktop/app/main_form.h"
#include "desktop/platform/qt_platform.h"
#include "desktop/platform/qt_translations.h"
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
    trelvanox::InstallQtTranslations(app);
    // The settings file lives beside the executable; it keeps the file dialogs' size too.
    const auto settingsFile = trelvanox::SettingsFilePath(
        std::filesystem::path(QFile::encodeName(QApplication::applicationDirPath()).toStdString()));
    trelvanox::TQtPlatform platform(settingsFile);
    try {
        trelvanox::TFmMainForm form(platform, settingsFile);
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
