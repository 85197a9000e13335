// Takes the README's picture of the main window with the demo radargram open:
//   xvfb-run build/tools/trelvanox-screenshot samples/demo.GPR2 docs/main_window.png
// The settings of the run stay in a scratch folder, so the program's own INI file is untouched.

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "desktop/app/main_form.h"
#include "desktop/platform/qt_platform.h"
#include "desktop/widgets/ribbon.h"
#include "settings/settings.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: trelvanox-screenshot RADARGRAM OUT.png\n");
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Trelvanox"));
    QTemporaryDir scratch;
    trelvanox::TQtPlatform platform;
    trelvanox::TFmMainForm form(
        platform, trelvanox::SettingsFilePath(QFile::encodeName(scratch.path()).toStdString()));
    form.CreateDialogs();
    form.show();
    form.txtFileName()->setText(QString::fromLocal8Bit(argv[1]));
    form.setWindowTitle(form.txtFileName()->text());
    const trelvanox::TDocumentResult read =
        form.Document().Open(QFile::encodeName(form.txtFileName()->text()).toStdString(),
                             trelvanox::LayoutFromFormatIndex(form.Settings().FormatIndex));
    if (!read.Ok()) {
        std::fprintf(stderr, "%s\n", read.Message->Text.c_str());
        return 1;
    }
    form.Ribbon().SetCurrentTab(0);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(1000, &app, [&] { app.exit(form.grab().save(out) ? 0 : 1); });
    return app.exec();
}
