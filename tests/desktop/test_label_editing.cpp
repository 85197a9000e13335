#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

#include "desktop/app/main_form.h"
#include "desktop/labels/calibration_form.h"
#include "desktop/view/label_editor_popup.h"
#include "desktop/view/overview_strip.h"
#include "desktop/view/radargram_canvas.h"
#include "desktop/view/radargram_view_form.h"
#include "desktop/view/view_label_editor.h"
#include "document/radargram_document.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "labels/label_edits.h"
#include "labels/read_label_table.h"
#include "radargram_generator.h"
#include "render/label_marks.h"

using namespace trelvanox;

// Labels on the picture and trace coordinates from labels, on the real main window with
// generated radargrams: every edit is one step of the file's history that undo takes back byte
// for byte, and refusals leave the file alone.
class TestLabelEditing : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString file_;

    // traces x 8 samples, labels every `every` traces from trace 50.
    void OpenGenerated(std::uint32_t traces, std::uint32_t every = 100) {
        file_ = dir_.filePath(QStringLiteral("p%1.GPR2").arg(traces));
        TGeneratorOptions options;
        options.TraceCount = traces;
        options.SampleCount = 8;
        options.LabelEvery = every;
        options.LabelFirst = 50 % every;
        options.ShareWithoutText = 0;
        GenerateRadargram(QFile::encodeName(file_).toStdString(), options);
        QVERIFY(OpenRadargram(*form_, *platform_, file_));
    }
    TFmRadargramView& View() { return *form_->FmRadargramView(); }
    TRadargramCanvas& Canvas() { return *View().Canvas(); }
    TLabelEditorPopup& Popup() { return *View().LabelEditor()->Popup(); }
    TRadargram& Model() { return form_->Model(); }
    template <typename T>
    T* Child(QWidget& parent, const char* name) {
        return parent.findChild<T*>(QString::fromLatin1(name));
    }
    // The view in the label editing mode, 200 traces across, so that each trace has pixels.
    void EditOnThePicture() {
        RunAction(*form_, "acnViewRadargram");
        QVERIFY(QTest::qWaitForWindowExposed(&View()));
        Child<QAbstractButton>(View(), "btnViewEditLabels")->click();
        QVERIFY(Canvas().LabelEditMode());
        Canvas().SetView({0, 200, 0, 8});
        Canvas().grab();
    }
    QPoint PointOf(double trace) {
        const QRect image = Canvas().ImageRect();
        const TRenderView& v = Canvas().View();
        return {image.left() + int((trace + 0.5 - v.FirstTrace) * image.width() / v.TraceSpan),
                image.center().y()};
    }
    std::map<std::uint32_t, std::pair<std::string, std::uint32_t>> Labels() {
        std::map<std::uint32_t, std::pair<std::string, std::uint32_t>> labels;
        for (const TReadLabelRow& row : ReadLabelRows(Model()))
            labels[row.Trace] = {row.Text.value_or(""), row.Color};
        return labels;
    }
    std::size_t Steps() { return form_->Document().History().size(); }

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

    void clickAddsALabelThroughTheEditor() {
        OpenGenerated(1000);
        EditOnThePicture();
        const QByteArray before = FileBytes(file_);
        QTest::mouseClick(&Canvas(), Qt::LeftButton, {}, PointOf(10));
        QVERIFY(Popup().isVisible());
        Popup().txtLabelText()->setText(QStringLiteral("Мост"));
        Child<QAbstractButton>(Popup(), "btnSwatch7")->click();  // red
        QCOMPARE(Popup().txtLabelColor()->text(), QStringLiteral("255"));
        Popup().accept();

        const auto labels = Labels();
        QVERIFY(labels.contains(10));
        QCOMPARE(labels.at(10), std::make_pair(std::string("Мост"), 255u));
        QCOMPARE(labels.size(), std::size_t{11});
        QCOMPARE(form_->ltxtNLabels()->text(), QStringLiteral("11"));
        QCOMPARE(Canvas().SelectedTrace(), std::optional<std::uint32_t>(10));
        QCOMPARE(Steps(), std::size_t{1});

        RunAction(*form_, "acnUndo");
        QCOMPARE(FileBytes(file_), before);
        QVERIFY(!Labels().contains(10));
    }

    void cancelledEditorAddsNothing() {
        OpenGenerated(1000);
        EditOnThePicture();
        QTest::mouseClick(&Canvas(), Qt::LeftButton, {}, PointOf(12));
        Popup().reject();
        QCOMPARE(Labels().size(), std::size_t{10});
        QCOMPARE(Steps(), std::size_t{0});
    }

    void tooLongTextIsRefusedWithAMessage() {
        OpenGenerated(1000);
        EditOnThePicture();
        const QByteArray before = FileBytes(file_);
        QTest::mouseClick(&Canvas(), Qt::LeftButton, {}, PointOf(12));
        Popup().txtLabelText()->setText(QString(45, QLatin1Char('x')));
        Popup().accept();
        QVERIFY(platform_->Last().Text.contains(QStringLiteral("длиннее 39")));
        QCOMPARE(FileBytes(file_), before);
        QCOMPARE(Steps(), std::size_t{0});
    }

    void dragMovesALabelSnappingToTraces() {
        OpenGenerated(1000);
        EditOnThePicture();
        const QByteArray before = FileBytes(file_);
        const auto moved = Labels().at(50);
        QTest::mousePress(&Canvas(), Qt::LeftButton, {}, PointOf(50));
        QCOMPARE(Canvas().SelectedTrace(), std::optional<std::uint32_t>(50));
        QTest::mouseMove(&Canvas(), PointOf(57));
        QVERIFY(View().StatusLine()->text().contains(QStringLiteral("трасса 57")));
        QVERIFY(View().StatusLine()->text().contains(QStringLiteral("ПК")));
        QTest::mouseMove(&Canvas(), PointOf(63));
        QTest::mouseRelease(&Canvas(), Qt::LeftButton, {}, PointOf(63));
        const auto labels = Labels();
        QVERIFY(!labels.contains(50));
        QCOMPARE(labels.at(63), moved);
        QCOMPARE(Canvas().SelectedTrace(), std::optional<std::uint32_t>(63));

        RunAction(*form_, "acnUndo");
        QCOMPARE(FileBytes(file_), before);
    }

    void keysDeleteEditAndNudgeTheSelectedLabel() {
        OpenGenerated(1000);
        EditOnThePicture();
        const QByteArray start = FileBytes(file_);
        QTest::mouseClick(&Canvas(), Qt::LeftButton, {}, PointOf(150));
        QCOMPARE(Canvas().SelectedTrace(), std::optional<std::uint32_t>(150));
        const auto label = Labels().at(150);

        QTest::keyClick(&Canvas(), Qt::Key_Right);
        QCOMPARE(Labels().at(151), label);
        QTest::keyClick(&Canvas(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(Labels().at(161), label);
        QTest::keyClick(&Canvas(), Qt::Key_Left);
        QCOMPARE(Labels().at(160), label);

        QTest::keyClick(&Canvas(), Qt::Key_F2);
        QVERIFY(Popup().isVisible());
        QCOMPARE(Popup().txtLabelText()->text(), QString::fromStdString(label.first));
        Popup().txtLabelText()->setText(QStringLiteral("Опора"));
        Popup().txtLabelColor()->setText(QStringLiteral("0x00FF00"));
        Popup().accept();
        QCOMPARE(Labels().at(160), std::make_pair(std::string("Опора"), 0x00FF00u));

        QTest::keyClick(&Canvas(), Qt::Key_Delete);
        QVERIFY(!Labels().contains(160));
        QCOMPARE(Labels().size(), std::size_t{9});
        QCOMPARE(Steps(), std::size_t{5});

        for (int i = 0; i < 5; ++i) RunAction(*form_, "acnUndo");
        QCOMPARE(FileBytes(file_), start);
    }

    void doubleClickEditsAndNudgeOntoALabelIsRefused() {
        OpenGenerated(1000, 5);
        EditOnThePicture();
        const QByteArray before = FileBytes(file_);
        QTest::mouseDClick(&Canvas(), Qt::LeftButton, {}, PointOf(50));
        QVERIFY(Popup().isVisible());
        // Accepted as it came: nothing changes, so no step and no message.
        platform_->Clear();
        Popup().accept();
        QCOMPARE(Steps(), std::size_t{0});
        QVERIFY(platform_->Calls.empty());
        QTest::keyClick(&Canvas(), Qt::Key_Right, Qt::ShiftModifier);  // onto the label of 60
        QVERIFY(platform_->Last().Text.contains(QStringLiteral("уже есть метка")));
        QCOMPARE(FileBytes(file_), before);
        QCOMPARE(Canvas().SelectedTrace(), std::optional<std::uint32_t>(50));
    }

    // 6000 labels over the whole profile: at most one pixel column in four has a line, so the
    // profile stays in sight, and the status says how many the view holds.
    void denseLabelsLeaveTheProfileVisible() {
        OpenGenerated(60000, 10);
        RunAction(*form_, "acnViewRadargram");
        QVERIFY(QTest::qWaitForWindowExposed(&View()));
        const QImage shown = Canvas().grab().toImage();
        QCOMPARE(View().LabelCountLine()->text(),
                 QStringLiteral("Меток в видимой части: 6000 из 6000"));
        Child<QAbstractButton>(View(), "btnViewLabels")->click();
        QVERIFY(!Canvas().MarksShown());
        const QImage hidden = Canvas().grab().toImage();
        const QRect image = Canvas().ImageRect();
        int untouched = 0;
        for (int x = image.left(); x <= image.right(); ++x)
            untouched += shown.pixel(x, image.center().y()) == hidden.pixel(x, image.center().y());
        QVERIFY2(untouched * 4 >= image.width() * 3 - 8, qPrintable(QString::number(untouched)));
        QVERIFY(View().LabelCountLine()->text().startsWith(QStringLiteral("Метки скрыты")));

        Canvas().SetView({1000, 500, 0, 8});
        Child<QAbstractButton>(View(), "btnViewLabels")->click();
        QCOMPARE(View().LabelCountLine()->text(),
                 QStringLiteral("Меток в видимой части: 50 из 6000"));
    }

    void wheelWithModifiersZoomsOneAxis() {
        OpenGenerated(1000);
        RunAction(*form_, "acnViewRadargram");
        QVERIFY(QTest::qWaitForWindowExposed(&View()));
        const QPoint at = Canvas().ImageRect().center();
        const auto wheel = [&](Qt::KeyboardModifiers modifiers) {
            QWheelEvent event(at, Canvas().mapToGlobal(at), {}, QPoint(0, 240), Qt::NoButton,
                              modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(&Canvas(), &event);
        };
        wheel(Qt::ControlModifier);
        QVERIFY(Canvas().View().TraceSpan < 1000);
        QCOMPARE(Canvas().View().SampleSpan, 8.0);
        const double traces = Canvas().View().TraceSpan;
        wheel(Qt::ShiftModifier);
        QVERIFY(Canvas().View().SampleSpan < 8);
        QCOMPARE(Canvas().View().TraceSpan, traces);
    }

    void scrollBarsAndOverviewMoveTheView() {
        OpenGenerated(1000);
        RunAction(*form_, "acnViewRadargram");
        QVERIFY(QTest::qWaitForWindowExposed(&View()));
        Canvas().SetView({0, 100, 0, 8});
        auto* bar = Child<QScrollBar>(View(), "sbViewTraces");
        QCOMPARE(bar->maximum(), 900);
        QCOMPARE(bar->pageStep(), 100);
        bar->setValue(300);
        QCOMPARE(Canvas().View().FirstTrace, 300.0);

        TOverviewStrip& overview = *View().Overview();
        const QPoint middle(overview.width() * 3 / 4, overview.height() / 2);
        QTest::mousePress(&overview, Qt::LeftButton, {}, middle);
        const double centre = Canvas().View().FirstTrace + Canvas().View().TraceSpan / 2;
        QVERIFY(std::abs(centre - 750.0) < 2.0);
        QCOMPARE(bar->value(), static_cast<int>(std::lround(Canvas().View().FirstTrace)));

        // Dragging along the strip follows the cursor.
        QMouseEvent drag(QEvent::MouseMove, QPointF(overview.width() / 4, 5),
                         overview.mapToGlobal(QPointF(overview.width() / 4, 5)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&overview, &drag);
        const double moved = Canvas().View().FirstTrace + Canvas().View().TraceSpan / 2;
        QVERIFY(std::abs(moved - 250.0) < 2.0);
    }

    void calibrationSetsEveryChainageAndUndoes() {
        OpenGenerated(1000);
        // A label whose text names its picket comes with it filled in.
        TRadargramDocument& document = form_->Document();
        const auto named = SetLabelEdit(Model(), 250, "ПК3+50", std::nullopt);
        QVERIFY(document.Change({named->Description, named->Apply}).Ok());
        QVERIFY(document.ReadAgain().Ok());
        const QByteArray before = FileBytes(file_);

        RunAction(*form_, "acnCalibrateByLabels");
        TFmCalibrateByLabels& dialog = *form_->FmCalibrateByLabels();
        QVERIFY(dialog.isVisible());
        QTableWidget& table = *dialog.sgCalibrationLabels();
        QCOMPARE(table.rowCount(), 10);
        QCOMPARE(table.item(2, TFmCalibrateByLabels::ColTrace)->text(), QStringLiteral("250"));
        QCOMPARE(table.item(2, TFmCalibrateByLabels::ColTruePicket)->text(),
                 QStringLiteral("ПК3+50.00"));
        // Only that one: the pickets other generated texts name are cleared.
        for (int row = 0; row < table.rowCount(); ++row)
            if (row != 2) table.item(row, TFmCalibrateByLabels::ColTruePicket)->setText(QString());
        QVERIFY(dialog.lblCalibrationPreview()->text().contains(QStringLiteral("двух меток")));
        QVERIFY(!dialog.btnCalibrate()->isEnabled());

        // Decreasing after increasing: refused in the preview.
        table.item(0, TFmCalibrateByLabels::ColTruePicket)->setText(QStringLiteral("300"));
        table.item(6, TFmCalibrateByLabels::ColTruePicket)->setText(QStringLiteral("200"));
        QVERIFY(dialog.lblCalibrationPreview()->text().contains(QStringLiteral("строго")));
        QVERIFY(!dialog.btnCalibrate()->isEnabled());

        // Traces 50 at 300 m, 250 at 350 m, 650 at 450 m.
        table.item(6, TFmCalibrateByLabels::ColTruePicket)->setText(QStringLiteral("4+50"));
        QCOMPARE(dialog.lblCalibrationPreview()->text(),
                 QStringLiteral("Трассы 50–250: шаг 25.000 см на трассу\n"
                                "Трассы 250–650: шаг 25.000 см на трассу"));
        dialog.chkSetStartPicket()->setChecked(true);
        dialog.btnCalibrate()->click();
        QCOMPARE(platform_->Last().Text, QStringLiteral("Координаты трасс пересчитаны."));
        QCOMPARE(Model().Header().StartCoordinate, 287500);
        for (std::uint32_t t = 0; t < 1000; t += 111)
            QCOMPARE(Model().TraceHeaders()[t].Coordinate, std::int32_t(250 * t));
        // The chainage typed stays with its trace after the read that followed.
        QCOMPARE(table.item(0, TFmCalibrateByLabels::ColTruePicket)->text(), QStringLiteral("300"));
        QCOMPARE(table.item(0, TFmCalibrateByLabels::ColChainage)->text(),
                 QStringLiteral("ПК2+12"));

        RunAction(*form_, "acnUndo");
        QCOMPARE(FileBytes(file_), before);
    }

    // Chainages typed for one file are not offered for the next.
    void typedChainagesStayWithTheirFile() {
        OpenGenerated(1000);
        RunAction(*form_, "acnCalibrateByLabels");
        TFmCalibrateByLabels& dialog = *form_->FmCalibrateByLabels();
        QTableWidget& table = *dialog.sgCalibrationLabels();
        table.item(1, TFmCalibrateByLabels::ColTruePicket)->setText(QStringLiteral("250"));
        RunAction(*form_, "acnReadFile");
        QCOMPARE(table.item(1, TFmCalibrateByLabels::ColTruePicket)->text(), QStringLiteral("250"));
        OpenGenerated(900);
        QCOMPARE(table.rowCount(), 9);
        QCOMPARE(table.item(1, TFmCalibrateByLabels::ColTruePicket)->text(), QString());
    }

    void viewOpensTheCalibration() {
        OpenGenerated(1000);
        RunAction(*form_, "acnViewRadargram");
        Child<QAbstractButton>(View(), "btnViewCalibrate")->click();
        QVERIFY(form_->FmCalibrateByLabels()->isVisible());
    }
};

QTEST_MAIN(TestLabelEditing)
#include "test_label_editing.moc"
