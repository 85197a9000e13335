#include <QAbstractButton>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/main_form.h"
#include "desktop/view/radargram_canvas.h"
#include "desktop/view/radargram_view_form.h"
#include "desktop/widgets/spin_edit.h"
#include "desktop/widgets/string_grid_model.h"
#include "desktop/widgets/string_grid_view.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "radargram_generator.h"
#include "render/label_marks.h"

using namespace trelvanox;

// The view window on the real main window with generated radargrams: it opens with the profile,
// follows reads and changes of the file, places the label lines, hands a marked window to the
// amplitude regulation and saves its picture.
class TestRadargramView : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString file_;

    // traces x 64 samples, labels every 100 traces from trace 50.
    void OpenGenerated(std::uint32_t traces, const QString& name = QStringLiteral("p.GPR2")) {
        file_ = dir_.filePath(name);
        TGeneratorOptions options;
        options.TraceCount = traces;
        options.SampleCount = 64;
        options.LabelEvery = 100;
        options.LabelFirst = 50;
        GenerateRadargram(QFile::encodeName(file_).toStdString(), options);
        QVERIFY(OpenRadargram(*form_, *platform_, file_));
    }
    TFmRadargramView& View() { return *form_->FmRadargramView(); }
    TRadargramCanvas& Canvas() { return *View().Canvas(); }
    TRadargram& Model() { return form_->Model(); }
    void ShowView() {
        RunAction(*form_, "acnViewRadargram");
        QVERIFY(QTest::qWaitForWindowExposed(&View()));
    }
    // The canvas as it paints now.
    QImage Picture() { return Canvas().grab().toImage(); }
    template <typename T>
    T* Child(QWidget& parent, const char* name) {
        return parent.findChild<T*>(QString::fromLatin1(name));
    }
    // The middle of a cell on the canvas.
    QPoint PointOf(double trace, double sample) {
        const QRect image = Canvas().ImageRect();
        const TRenderView& v = Canvas().View();
        return {image.left() + int((trace + 0.5 - v.FirstTrace) * image.width() / v.TraceSpan),
                image.top() + int((sample + 0.5 - v.FirstSample) * image.height() / v.SampleSpan)};
    }

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void init() {
        platform_ = std::make_unique<TFakePlatform>();
        form_ = std::make_unique<TFmMainForm>(
            *platform_, QFile::encodeName(dir_.filePath(QStringLiteral("o.ini"))).toStdString());
        form_->CreateDialogs();
        form_->show();
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    void opensWithTheWholeProfile() {
        OpenGenerated(1000);
        ShowView();
        QCOMPARE(View().windowTitle(), QStringLiteral("Радарограмма — просмотр"));
        QVERIFY(!View().isModal());
        QCOMPARE(Canvas().View(), WholeView(1000, 64));
        const int before = Canvas().RenderCount();
        const QImage picture = Picture();
        QVERIFY(Canvas().RenderCount() > before || before > 0);
        // The generated layers and hyperbolas: the picture is not one colour.
        const QRect image = Canvas().ImageRect();
        QSet<QRgb> colours;
        for (int x = image.left(); x < image.right(); x += 7)
            colours.insert(picture.pixel(x, image.center().y()));
        QVERIFY(colours.size() > 5);
    }

    void emptyBeforeAnyFile() {
        ShowView();
        QCOMPARE(Canvas().RenderCount(), 0);
        Picture();
        QCOMPARE(Canvas().RenderCount(), 0);
    }

    // Changes between two frames cost one render.
    void oneRenderPerFrame() {
        OpenGenerated(1000);
        ShowView();
        Picture();
        const int before = Canvas().RenderCount();
        auto* gain = Child<QDoubleSpinBox>(View(), "seViewGain");
        for (double g : {2.0, 3.0, 4.0}) gain->setValue(g);
        Child<QComboBox>(View(), "cmbViewPalette")->setCurrentIndex(1);
        Picture();
        QCOMPARE(Canvas().RenderCount(), before + 1);
    }

    void displayControlsNeverChangeTheFile() {
        OpenGenerated(1000);
        ShowView();
        const QByteArray bytes = FileBytes(file_);
        const QImage before = Picture();
        Child<QDoubleSpinBox>(View(), "seViewGain")->setValue(5.0);
        Child<QDoubleSpinBox>(View(), "seViewClip")->setValue(50.0);
        Child<QComboBox>(View(), "cmbViewPalette")->setCurrentIndex(1);
        QVERIFY(Picture() != before);
        QCOMPARE(FileBytes(file_), bytes);
    }

    // A change of the file redraws with the zoom kept; another file shows whole.
    void followsChangesAndReads() {
        OpenGenerated(1000);
        ShowView();
        const TRenderView zoomed{200, 100, 10, 20};
        Canvas().SetView(zoomed);
        const QImage before = Picture();
        for (std::uint32_t t = 0; t < 1000; ++t) std::ranges::fill(Model().Samples(t), 0.0f);
        RunAction(*form_, "acnWriteFile");
        RunAction(*form_, "acnReadFile");
        const QImage after = Picture();
        QVERIFY(after != before);
        QCOMPARE(Canvas().View(), zoomed);
        const QRect image = Canvas().ImageRect();
        QCOMPARE(after.pixel(image.center()), qRgb(128, 128, 128));  // zero in grey

        RunAction(*form_, "acnUndo");
        QCOMPARE(Picture(), before);
        QCOMPARE(Canvas().View(), zoomed);

        OpenGenerated(700, QStringLiteral("other.GPR2"));
        QCOMPARE(Canvas().View(), WholeView(700, 64));
    }

    // An amplitude operation writes the file without reading it again; the view shows it.
    void showsWhatTheAmplitudeRegulationDid() {
        OpenGenerated(1000);
        ShowView();
        const QImage before = Picture();
        const int column = PointOf(120, 0).x();  // between the label lines of 50 and 150
        const int row = Canvas().ImageRect().center().y();
        QVERIFY(before.pixel(column, row) != qRgb(128, 128, 128));
        TFmRegulationAmplitude& dialog = *form_->FmRegulationAmplitude();
        RunAction(*form_, "acnRegulationAmplitude");
        Child<QLineEdit>(dialog, "ltxtZeroTraceBegin")->setText(QStringLiteral("100"));
        Child<QLineEdit>(dialog, "ltxtZeroTraceEnd")->setText(QStringLiteral("199"));
        Child<QAbstractButton>(dialog, "bbtnZeroTraces")->click();
        QCOMPARE(Picture().pixel(column, row), qRgb(128, 128, 128));
    }

    void wheelZoomsAroundTheCursor() {
        OpenGenerated(1000);
        ShowView();
        const QPoint at = PointOf(300, 20);
        const auto under = Canvas().CellAt(at);
        QVERIFY(under);
        QWheelEvent wheel(at, Canvas().mapToGlobal(at), {}, QPoint(0, 240), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&Canvas(), &wheel);
        QVERIFY(Canvas().View().TraceSpan < 1000);
        // The trace under the cursor stays there, to within the pixel's own width.
        const auto after = Canvas().CellAt(at);
        QVERIFY(after);
        QVERIFY(std::abs(after->first - under->first) <= 1);
        QVERIFY(std::abs(after->second - under->second) <= 1);
        Child<QAbstractButton>(View(), "btnViewFit")->click();
        QCOMPARE(Canvas().View(), WholeView(1000, 64));
    }

    void labelLinesLieOnTheirTraces() {
        OpenGenerated(1000);
        ShowView();
        const QImage picture = Picture();
        const std::vector<TLabelMark> marks = LabelMarks(Model());
        QCOMPARE(marks.size(), std::size_t{10});
        const QRect image = Canvas().ImageRect();
        for (const TLabelMark& mark : marks) {
            const auto x = Canvas().MarkX(mark);
            QVERIFY(x);
            QCOMPARE(*x, image.left() + CellPixel(0, 1000, image.width(), mark.Trace));
            const TRgb c = MarkColour(mark.Color);
            QCOMPARE(picture.pixel(*x, image.bottom() - 2), qRgb(c.R, c.G, c.B));
        }
    }

    void clickOnALineSelectsItsRow() {
        OpenGenerated(1000);
        ShowView();
        Picture();
        const TLabelMark mark = LabelMarks(Model())[3];
        const QRect image = Canvas().ImageRect();
        QTest::mouseClick(&Canvas(), Qt::LeftButton, {},
                          QPoint(*Canvas().MarkX(mark) + 1, image.center().y()));
        const auto* pages = Child<QTabWidget>(*form_, "PageControl1");
        QCOMPARE(pages->currentIndex(), 1);
        const QModelIndex current = form_->sgReadLabels()->currentIndex();
        QCOMPARE(form_->sgReadLabels()->GridModel()->GridRow(current), mark.Row);
        QCOMPARE(form_->ReadLabelsGrid().Cell(1, mark.Row), std::to_string(mark.Trace));
    }

    // A right drag becomes the dialog's fragment window, and the dialog's window a frame.
    void markedWindowFillsTheAmplitudeFields() {
        OpenGenerated(1000);
        ShowView();
        const QPoint from = PointOf(620, 40);
        const QPoint to = PointOf(150, 5);
        QTest::mousePress(&Canvas(), Qt::RightButton, {}, from);
        QTest::mouseMove(&Canvas(), to);
        QTest::mouseRelease(&Canvas(), Qt::RightButton, {}, to);

        TFmRegulationAmplitude& dialog = *form_->FmRegulationAmplitude();
        QVERIFY(dialog.isVisible());
        QVERIFY(Child<QRadioButton>(dialog, "rbtnWindowFragment")->isChecked());
        const auto a = *Canvas().CellAt(from, true);
        const auto b = *Canvas().CellAt(to);
        QVERIFY(a.first >= 620 && a.first <= 621);
        QCOMPARE(b.second, 5);
        const QStringList expected{QString::number(b.first), QString::number(a.first),
                                   QString::number(b.second), QString::number(a.second)};
        QStringList texts;
        for (const char* name :
             {"stxtTraceFirst", "stxtTraceLast", "stxtSampleFirst", "stxtSampleLast"})
            texts << Child<TSpinEdit>(dialog, name)->Text();
        QCOMPARE(texts, expected);
        QVERIFY(Canvas().Frame());
        QCOMPARE(Canvas().Frame()->LastTrace, std::uint32_t(a.first));

        // Typing in the dialog moves the frame; closing it removes it.
        Child<TSpinEdit>(dialog, "stxtTraceFirst")->SetText(QStringLiteral("10"));
        QCOMPARE(Canvas().Frame()->FirstTrace, 10u);
        dialog.close();
        QVERIFY(!Canvas().Frame());
    }

    void windowModeMarksWithTheLeftButton() {
        OpenGenerated(1000);
        ShowView();
        Child<QAbstractButton>(View(), "btnViewWindow")->click();
        const TRenderView view = Canvas().View();
        QTest::mousePress(&Canvas(), Qt::LeftButton, {}, PointOf(100, 10));
        QTest::mouseMove(&Canvas(), PointOf(200, 30));
        QTest::mouseRelease(&Canvas(), Qt::LeftButton, {}, PointOf(200, 30));
        QCOMPARE(Canvas().View(), view);  // no pan
        QVERIFY(Canvas().Frame());
        // The first trace of the pixel pressed: trace 100, or the next where the picture's
        // width puts the pixel's edge just past it.
        const auto pressed = Canvas().CellAt(PointOf(100, 10));
        QVERIFY(pressed);
        QCOMPARE(Canvas().Frame()->FirstTrace, std::uint32_t(pressed->first));
        QVERIFY(pressed->first >= 100 && pressed->first <= 101);
        QCOMPARE(Canvas().Frame()->LastSample, 30u);
    }

    // In a shrunk view a pixel covers several traces: a window over the whole picture is the
    // whole profile, its last trace and sample included.
    void aWindowOverTheWholePictureTakesEveryTrace() {
        OpenGenerated(5000);
        ShowView();
        const QRect image = Canvas().ImageRect();
        QVERIFY(image.width() < 5000);
        QTest::mousePress(&Canvas(), Qt::RightButton, {}, image.bottomRight());
        QTest::mouseMove(&Canvas(), image.topLeft());
        QTest::mouseRelease(&Canvas(), Qt::RightButton, {}, image.topLeft());
        QVERIFY(Canvas().Frame());
        const TProcessingWindow window = *Canvas().Frame();
        QCOMPARE(window.FirstTrace, 0u);
        QCOMPARE(window.LastTrace, 4999u);
        QCOMPARE(window.FirstSample, 0u);
        QCOMPARE(window.LastSample, 63u);
    }

    void savesThePictureAsPng() {
        OpenGenerated(1000);
        ShowView();
        const QString path = dir_.filePath(QStringLiteral("view.png"));
        platform_->SaveAnswers.push_back(path);
        Child<QAbstractButton>(View(), "btnSaveImage")->click();
        QCOMPARE(platform_->Last().Kind, TFakePlatform::TCallKind::Save);
        QCOMPARE(platform_->Last().Request.DefaultExtension, QStringLiteral("png"));
        QImage saved;
        QVERIFY(saved.load(path, "PNG"));
        QCOMPARE(saved.size(), Canvas().size());
    }

    void aFailedSaveSaysSoAndLeavesNoFile() {
        OpenGenerated(1000);
        ShowView();
        const QString path = dir_.filePath(QStringLiteral("missing/view.png"));
        platform_->SaveAnswers.push_back(path);
        Child<QAbstractButton>(View(), "btnSaveImage")->click();
        QCOMPARE(platform_->Last().Kind, TFakePlatform::TCallKind::MessageBox);
        QVERIFY(platform_->Last().Text.contains(path));
        QVERIFY(!QFile::exists(path));
    }

    void neverSavesThePictureOverTheRadargram() {
        OpenGenerated(1000);
        ShowView();
        const QByteArray before = FileBytes(file_);
        platform_->SaveAnswers.push_back(file_);
        Child<QAbstractButton>(View(), "btnSaveImage")->click();
        QCOMPARE(platform_->Last().Kind, TFakePlatform::TCallKind::MessageBox);
        QVERIFY(platform_->Last().Text.contains(QStringLiteral("файл самой радарограммы")));
        QCOMPARE(FileBytes(file_), before);
    }

    void statusLineNamesTheCellUnderTheCursor() {
        OpenGenerated(1000);
        ShowView();
        Picture();
        Model().Samples(123)[32] = 2.5f;
        // Sent straight to the canvas: a synthetic move of the offscreen platform reaches a
        // widget only once the pointer has entered its window.
        const QPoint at = PointOf(123, 32);
        QMouseEvent move(QEvent::MouseMove, at, Canvas().mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&Canvas(), &move);
        const QString status = View().StatusLine()->text();
        // 200 ns over 64 samples: 3.125 ns a sample; eps 9.3 gives the depth.
        QVERIFY2(status.contains(QStringLiteral("Трасса 123")), qPrintable(status));
        QVERIFY2(status.contains(QStringLiteral("Отсчёт 32")), qPrintable(status));
        QVERIFY2(status.contains(QStringLiteral("Время 100.00 нс")), qPrintable(status));
        QVERIFY2(status.contains(QStringLiteral("Глубина")), qPrintable(status));
        QVERIFY2(status.contains(QStringLiteral("Амплитуда 2.5")), qPrintable(status));
        QVERIFY2(status.contains(QStringLiteral("ПК")), qPrintable(status));
    }
};

QTEST_MAIN(TestRadargramView)
#include "test_radargram_view.moc"
