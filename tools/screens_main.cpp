// Takes the pictures of the README's docs folder and the manual: the main window at its design
// size with the demo radargram open, every tab of the ribbon in each colour style, every page of
// the options and amplitude dialogs, the other dialogs, a long operation's progress window, the
// view window, a file dialog and the help viewer.
//   QT_QPA_PLATFORM=offscreen:configfile=tools/offscreen_screen.json
//       build/tools/trelvanox-screens samples/demo.GPR2 docs/manual/images
// (the screen of that file is larger than the offscreen default, so a file dialog opens at its
// own size). The view's picture is saved in full colour; the committed one is reduced without
// dithering: convert view.png +dither -colors 256 PNG8:view.png
// The settings of the run stay in a scratch folder, so the program's own INI file is untouched.

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProgressDialog>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/about_form.h"
#include "desktop/app/main_form.h"
#include "desktop/app/options_form.h"
#include "desktop/document/history_form.h"
#include "desktop/document/long_operation.h"
#include "desktop/labels/calibration_form.h"
#include "desktop/labels/color_options_form.h"
#include "desktop/labels/insert_label_form.h"
#include "desktop/platform/qt_platform.h"
#include "desktop/platform/qt_translations.h"
#include "desktop/view/radargram_view_form.h"
#include "desktop/widgets/ribbon.h"
#include "settings/settings.h"

namespace {

using namespace trelvanox;

// Lets layouts, deferred resizes and paint events settle before a grab.
void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

class TShooter {
  public:
    explicit TShooter(QString folder) : folder_(std::move(folder)) {}

    bool Save(QWidget& widget, const char* name) { return Save(Grab(widget), name); }

    // A palette of 256 colours keeps the committed pictures small; a window has few. The
    // ribbon's gradients keep their colours (flat false).
    bool Save(const QImage& image, const char* name, bool flat = true) {
        const QString path = folder_ + QLatin1Char('/') + QLatin1String(name) + ".png";
        const bool ok =
            (flat ? image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither) : image)
                .save(path);
        if (!ok) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ok_ = ok_ && ok;
        return ok;
    }

    static QImage Grab(QWidget& widget) {
        Settle();
        return widget.grab().toImage();
    }

    bool Ok() const { return ok_; }

  private:
    QString folder_;
    bool ok_ = true;
};

// The ribbon's tabs one under the other, in one colour style.
QImage RibbonSheet(TRibbon& ribbon) {
    QList<QImage> strips;
    int height = 0;
    for (int tab = 0; tab < ribbon.TabCount(); ++tab) {
        ribbon.SetCurrentTab(tab);
        strips << TShooter::Grab(ribbon);
        height += strips.last().height();
    }
    QImage sheet(ribbon.width(), height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int y = 0;
    for (const QImage& strip : strips) {
        painter.drawImage(0, y, strip);
        y += strip.height();
    }
    return sheet;
}

// Each page of a dialog's tab widget.
void SavePages(TShooter& shooter, QDialog& dialog, QTabWidget& pages,
               std::initializer_list<const char*> names) {
    dialog.show();
    int index = 0;
    for (const char* name : names) {
        pages.setCurrentIndex(index++);
        shooter.Save(dialog, name);
    }
    dialog.hide();
}

void SaveDialog(TShooter& shooter, QDialog& dialog, const char* name) {
    dialog.show();
    shooter.Save(dialog, name);
    dialog.hide();
}

// A modal dialog the platform runs with exec(): grabbed once it is up, then cancelled.
void SaveModal(TShooter& shooter, const char* name, const std::function<void()>& open) {
    QTimer::singleShot(300, [&shooter, name] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shooter.Save(*modal, name);
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        }
    });
    open();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: trelvanox-screens RADARGRAM OUT-FOLDER\n");
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Trelvanox"));
    InstallQtTranslations(app);
    const QString radargram = QString::fromLocal8Bit(argv[1]);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    TShooter shooter(folder);

    QTemporaryDir scratch;
    // The view keeps its processing chain in the user's state folder: a scratch one here.
    qputenv("XDG_STATE_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("state"))));
    TQtPlatform platform;
    TFmMainForm form(platform, SettingsFilePath(QFile::encodeName(scratch.path()).toStdString()));
    form.CreateDialogs();
    form.show();
    form.txtFileName()->setText(radargram);
    const TDocumentResult read =
        form.Document().Open(QFile::encodeName(radargram).toStdString(),
                             LayoutFromFormatIndex(form.Settings().FormatIndex));
    if (!read.Ok()) {
        std::fprintf(stderr, "%s\n", read.Message->Text.c_str());
        return 1;
    }

    auto* left = form.findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    auto* right = form.findChild<QTabWidget*>(QStringLiteral("PageControl2"));
    form.Ribbon().SetCurrentTab(0);
    left->setCurrentIndex(0);
    right->setCurrentIndex(0);
    shooter.Save(form, "main_header");
    left->setCurrentIndex(1);
    right->setCurrentIndex(1);
    form.Ribbon().SetCurrentTab(1);
    shooter.Save(form, "main_labels");

    const std::pair<TRibbonStyle, const char*> styles[] = {
        {TRibbonStyle::Obsidian, "ribbon_obsidian"},
        {TRibbonStyle::Silver, "ribbon_silver"},
        {TRibbonStyle::Luna, "ribbon_luna"}};
    for (const auto& [style, name] : styles) {
        form.Ribbon().SetRibbonStyle(style);
        shooter.Save(RibbonSheet(form.Ribbon()), name, false);
    }
    form.Ribbon().SetRibbonStyle(TRibbonStyle::Obsidian);

    SavePages(shooter, *form.FmOptions(), *form.FmOptions()->Pages(),
              {"options_general", "options_read_table", "options_import_table", "options_editing"});
    TFmRegulationAmplitude& amplitude = *form.FmRegulationAmplitude();
    SavePages(shooter, amplitude, *amplitude.findChild<QTabWidget*>(),
              {"amplitude_gain", "amplitude_cut", "amplitude_zero_traces"});
    SaveDialog(shooter, *form.FmColorOptions(), "color_options");
    SaveDialog(shooter, *form.FmInsertLabel(), "insert_label");
    SaveDialog(shooter, *form.FmCalibrateByLabels(), "calibration");
    SaveDialog(shooter, *form.FmHistory(), "history");
    SaveDialog(shooter, *form.FmAbout(), "about");
    // The window of a long operation as it writes the file.
    {
        TLongOperation operation(&form, QStringLiteral("Усиление амплитуд"), true, nullptr);
        operation.SetStage(QStringLiteral("Запись файла"));
        if (auto* window =
                form.findChild<QProgressDialog*>(QStringLiteral("dlgOperationProgress"))) {
            window->setValue(900);
            window->show();
            shooter.Save(*window, "operation_progress");
        }
    }
    // The view at the width of the main window, its labels and processing panel shown; in full
    // colour, since Qt's palette of 256 would dither the profile's grey levels into noise.
    TFmRadargramView& view = *form.FmRadargramView();
    view.resize(form.width(), 560);
    view.show();
    shooter.Save(TShooter::Grab(view), "view", false);
    view.hide();

    SaveModal(shooter, "file_open", [&] {
        platform.GetOpenFileName(&form, {QStringLiteral("Файлы радарограмм (*.GPR, *.GPR2)|"
                                                        "*.GPR;*.GPR2|Все файлы (*.*)|*.*"),
                                         radargram, QString()});
    });
    platform.ShowManual(&form, QStringLiteral(":/manual/index.html"), QString());
    if (auto* viewer = form.findChild<QDialog*>(QStringLiteral("FmManual"))) {
        shooter.Save(*viewer, "manual_viewer");
        viewer->close();
    }
    return shooter.Ok() ? 0 : 1;
}
