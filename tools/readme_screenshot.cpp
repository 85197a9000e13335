// Takes the README's pictures with the demo radargram open, of the main window or (--view) of the
// view window with a processing window marked and dewow, background removal and a time gain on:
//   xvfb-run build/tools/trelvanox-screenshot samples/demo.GPR2 docs/main_window.png
//   xvfb-run build/tools/trelvanox-screenshot --view samples/demo.GPR2 docs/view_window.png
// The settings of the run and the view's chain stay in a scratch folder, so the program's own
// INI file and the user's state are untouched.

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/main_form.h"
#include "desktop/platform/qt_platform.h"
#include "desktop/view/radargram_view_form.h"
#include "desktop/widgets/ribbon.h"
#include "settings/settings.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool view = argc == 4 && QByteArray(argv[1]) == "--view";
    if (view) {
        --argc;
        ++argv;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: trelvanox-screenshot [--view] RADARGRAM OUT.png\n");
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Trelvanox"));
    QTemporaryDir scratch;
    qputenv("XDG_STATE_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("state"))));
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
    form.Ribbon().SetCurrentTab(view ? 1 : 0);
    QWidget* shown = &form;
    if (view) {
        // The window of a gain over the hyperbolas in the middle of the demo profile.
        form.FmRegulationAmplitude()->SetFragmentWindow({250, 420, 60, 200});
        form.FmRadargramView()->ShowModeless();
        form.FmRadargramView()->resize(1310, 560);
        shown = form.FmRadargramView();
        auto* steps = shown->findChild<QListWidget*>(QStringLiteral("lstProcessingSteps"));
        for (int row = 0; steps && row < steps->count(); ++row) {
            const QString name = steps->item(row)->data(Qt::UserRole).toString();
            if (name == QStringLiteral("dewow") || name == QStringLiteral("bgr") ||
                name == QStringLiteral("tpow"))
                steps->item(row)->setCheckState(Qt::Checked);
        }
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(1000, &app, [&] { app.exit(shown->grab().save(out) ? 0 : 1); });
    return app.exec();
}
