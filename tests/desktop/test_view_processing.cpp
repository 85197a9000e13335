#include <QAbstractButton>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "desktop/app/main_form.h"
#include "desktop/view/radargram_canvas.h"
#include "desktop/view/radargram_view_form.h"
#include "desktop/view/view_processing.h"
#include "document/radargram_document.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "processing/chain_runner.h"
#include "processing/step_registry.h"
#include "radargram_generator.h"
#include "segy_read_back.h"

using namespace trelvanox;

// The processing panel of the view window on the real main window: steps turned on and off,
// values typed, order changed, the chain kept per file and brought back, and the chain written
// into the file on request, undone by the main window's "Отменить".
class TestViewProcessing : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString file_;

    void Generate(const QString& name, std::uint32_t seed = 1) {
        file_ = dir_.filePath(name);
        TGeneratorOptions options;
        options.TraceCount = 400;
        options.SampleCount = 64;
        options.Seed = seed;
        GenerateRadargram(QFile::encodeName(file_).toStdString(), options);
    }
    void Open(const QString& path) { QVERIFY(OpenRadargram(*form_, *platform_, path)); }
    void NewWindow() {
        form_.reset();
        form_ = std::make_unique<TFmMainForm>(
            *platform_, QFile::encodeName(dir_.filePath(QStringLiteral("o.ini"))).toStdString());
        form_->CreateDialogs();
        form_->show();
    }
    TFmRadargramView& View() { return *form_->FmRadargramView(); }
    TRadargramCanvas& Canvas() { return *View().Canvas(); }
    QListWidget& Steps() {
        return *View().findChild<QListWidget*>(QStringLiteral("lstProcessingSteps"));
    }
    QDoubleSpinBox& Value() {
        return *View().findChild<QDoubleSpinBox*>(QStringLiteral("seStepValue"));
    }
    QAbstractButton& Button(const char* name) {
        return *View().findChild<QAbstractButton*>(QString::fromLatin1(name));
    }
    void ShowView() {
        RunAction(*form_, "acnViewRadargram");
        QVERIFY(QTest::qWaitForWindowExposed(&View()));
    }
    // The step's name, as a chain's text writes it, is the item's data.
    QString StepName(int row) { return Steps().item(row)->data(Qt::UserRole).toString(); }
    int Row(std::string_view name) {
        for (int row = 0; row < Steps().count(); ++row)
            if (StepName(row) == QString::fromUtf8(name.data(), name.size())) return row;
        return -1;
    }
    void Turn(std::string_view name, bool on) {
        Steps().item(Row(name))->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    void TypeValue(std::string_view name, double value) {
        Steps().setCurrentRow(Row(name));
        Value().setValue(value);
    }
    void WaitProcessed() { QTRY_VERIFY_WITH_TIMEOUT(!View().Processing()->Processing(), 20000); }
    std::string ChainShown() { return ChainText(PanelChain()); }
    TProcessingChain PanelChain() {
        TProcessingChain chain;
        for (int row = 0; row < Steps().count(); ++row) {
            const QListWidgetItem* item = Steps().item(row);
            chain.push_back({FindProcessingStep(StepName(row).toStdString()), 0,
                             item->checkState() == Qt::Checked});
        }
        return chain;
    }
    QImage Picture() { return Canvas().grab().toImage(); }
    QString StatusAt(double trace, double sample) {
        const QRect image = Canvas().ImageRect();
        const TRenderView& v = Canvas().View();
        const QPoint point(
            image.left() + int((trace + 0.5 - v.FirstTrace) * image.width() / v.TraceSpan),
            image.top() + int((sample + 0.5 - v.FirstSample) * image.height() / v.SampleSpan));
        // Sent straight to the canvas: a synthetic move of the offscreen platform reaches a
        // widget only once the pointer has entered its window.
        QMouseEvent move(QEvent::MouseMove, point, Canvas().mapToGlobal(point), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&Canvas(), &move);
        return View().StatusLine()->text();
    }

  private slots:
    void initTestCase() { QVERIFY(dir_.isValid()); }

    void init() {
        platform_ = std::make_unique<TFakePlatform>();
        NewWindow();
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    void listsEveryStepOffAtFirst() {
        Generate(QStringLiteral("first.GPR2"));
        Open(file_);
        ShowView();
        QCOMPARE(Steps().count(), static_cast<int>(ProcessingSteps().size()));
        for (int row = 0; row < Steps().count(); ++row)
            QCOMPARE(Steps().item(row)->checkState(), Qt::Unchecked);
        // The value's caption states its unit.
        auto* caption = View().findChild<QLabel*>(QStringLiteral("lblStepValue"));
        Steps().setCurrentRow(Row("dewow"));
        QCOMPARE(caption->text(), QStringLiteral("Окно, отсчётов:"));
        Steps().setCurrentRow(Row("bgr"));
        QCOMPARE(caption->text(), QStringLiteral("Число трасс (0 - все):"));
        Steps().setCurrentRow(Row("tpow"));
        QCOMPARE(caption->text(), QStringLiteral("Степень времени (время в нс):"));
        QVERIFY(Steps().item(Row("zero"))->toolTip().contains(QStringLiteral("отсчётов")));
    }

    // A step turned on changes the picture and the status line shows both amplitudes; turned
    // off, the raw picture is back.
    void toggling() {
        Generate(QStringLiteral("toggle.GPR2"));
        Open(file_);
        ShowView();
        const QByteArray original = FileBytes(file_);
        const QImage raw = Picture();
        QVERIFY(StatusAt(200, 20).contains(QStringLiteral("Амплитуда")));
        Turn("bgr", true);
        WaitProcessed();
        const QImage processed = Picture();
        QVERIFY(processed != raw);
        // The status line follows the new picture under the resting cursor.
        const QString status = View().StatusLine()->text();
        QVERIFY2(status.contains(QStringLiteral("Обработанная")) &&
                     status.contains(QStringLiteral("Исходная")),
                 qPrintable(status));
        Turn("bgr", false);
        WaitProcessed();
        QCOMPARE(Picture(), raw);
        // Nothing of this touched the file.
        QCOMPARE(FileBytes(file_), original);
    }

    // Odd windows stay odd whichever way the value moves, and the item's text follows.
    void typedValues_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<double>("typed");
        QTest::addColumn<double>("shown");
        QTest::newRow("dewow up") << "dewow" << 16.0 << 17.0;
        QTest::newRow("agc even") << "agc" << 50.0 << 49.0;
        QTest::newRow("bgr zero") << "bgr" << 0.0 << 0.0;
        QTest::newRow("bgr two") << "bgr" << 2.0 << 3.0;
        QTest::newRow("tpow") << "tpow" << 1.75 << 1.75;
        QTest::newRow("zero") << "zero" << 12.0 << 12.0;
    }
    void typedValues() {
        QFETCH(QString, step);
        QFETCH(double, typed);
        QFETCH(double, shown);
        Generate(QStringLiteral("values.GPR2"));
        Open(file_);
        ShowView();
        const std::string name = step.toStdString();
        TypeValue(name, typed);
        QCOMPARE(Value().value(), shown);
        const TStepKind& kind = *FindProcessingStep(name);
        QVERIFY(Steps().item(Row(name))->text().contains(
            QString::fromStdString(ValueText(kind, shown))));
    }

    // The chain of a file comes back when the file is opened again, in a new run of the program
    // too; another file keeps a chain of its own.
    void restoredOnReopen() {
        Generate(QStringLiteral("other.GPR2"), 2);
        const QString other = file_;
        Generate(QStringLiteral("kept.GPR2"));
        Open(file_);
        ShowView();
        TypeValue("dewow", 9);
        Turn("dewow", true);
        Turn("tpow", true);
        // Background removal first.
        QVERIFY(Steps().model()->moveRow(QModelIndex(), Row("bgr"), QModelIndex(), 0));
        Turn("bgr", true);
        WaitProcessed();
        const std::string chain = ChainShown();
        QCOMPARE(StepName(0), QStringLiteral("bgr"));

        Open(other);
        WaitProcessed();
        for (int row = 0; row < Steps().count(); ++row)
            QCOMPARE(Steps().item(row)->checkState(), Qt::Unchecked);
        Open(file_);
        WaitProcessed();
        QCOMPARE(ChainShown(), chain);

        NewWindow();
        Open(file_);
        ShowView();
        WaitProcessed();
        QCOMPARE(ChainShown(), chain);
        Steps().setCurrentRow(Row("dewow"));
        QCOMPARE(Value().value(), 9.0);
    }

    void defaultsButton() {
        Generate(QStringLiteral("defaults.GPR2"));
        Open(file_);
        ShowView();
        const std::string before = ChainShown();
        TypeValue("agc", 11);
        Turn("agc", true);
        QVERIFY(Steps().model()->moveRow(QModelIndex(), Row("agc"), QModelIndex(), 0));
        Button("btnProcessingDefaults").click();
        WaitProcessed();
        QCOMPARE(ChainShown(), before);
        TypeValue("agc", 51);  // the default value: no change
        QVERIFY(Steps().item(Row("agc"))->text().contains(QStringLiteral("51")));
    }

    // The chain is written after the question, as one step that "Отменить" takes back; the
    // steps are then off, since the file holds them.
    void applyAndUndo() {
        Generate(QStringLiteral("apply.GPR2"));
        Open(file_);
        ShowView();
        const QByteArray original = FileBytes(file_);
        Turn("bgr", true);
        WaitProcessed();

        platform_->MessageAnswers.push_back(TMsgResult::Cancel);
        Button("btnApplyProcessing").click();
        WaitProcessed();
        QCOMPARE(FileBytes(file_), original);
        QCOMPARE(platform_->Last().Icon, TMsgIcon::Question);
        QVERIFY(platform_->Last().Text.contains(QStringLiteral("bgr=0")));

        platform_->Clear();
        platform_->MessageAnswers.push_back(TMsgResult::Ok);
        Button("btnApplyProcessing").click();
        WaitProcessed();
        QCOMPARE(platform_->Messages().size(), 1);  // the question alone
        const QByteArray processed = FileBytes(file_);
        QVERIFY(processed != original);
        QCOMPARE(Steps().item(Row("bgr"))->checkState(), Qt::Unchecked);
        QCOMPARE(form_->Document().History().back().Description, std::string("Обработка: bgr=0"));

        RunAction(*form_, "acnUndo");
        QCOMPARE(FileBytes(file_), original);
        RunAction(*form_, "acnRedo");
        QCOMPARE(FileBytes(file_), processed);
    }

    void applyWithNothingOn() {
        Generate(QStringLiteral("nothing.GPR2"));
        Open(file_);
        ShowView();
        const QByteArray original = FileBytes(file_);
        Button("btnApplyProcessing").click();
        QCOMPARE(platform_->Messages().size(), 1);
        QCOMPARE(platform_->Last().Buttons, TMsgButtons::Ok);
        QCOMPARE(FileBytes(file_), original);
    }

    // "Экспорт в SEG-Y" of the panel writes the profile as shown, processed; the radargram stays
    // as it was.
    void exportsTheProcessedProfile() {
        Generate(QStringLiteral("export.GPR2"));
        Open(file_);
        ShowView();
        const QByteArray original = FileBytes(file_);
        Turn("bgr", true);
        Turn("tpow", true);
        WaitProcessed();
        const QString target = dir_.filePath(QStringLiteral("processed.sgy"));
        platform_->SaveAnswers.push_back(target);
        Button("btnExportProcessedSegy").click();
        // Meanwhile the chain is held, and a zoom waits for the export instead of stopping it.
        QVERIFY(!Steps().isEnabled());
        Canvas().SetView({100, 50, 0, 64});
        WaitProcessed();
        QVERIFY(Steps().isEnabled());
        QCOMPARE(platform_->Last().Icon, TMsgIcon::Information);
        QVERIFY(platform_->Last().Text.contains(QStringLiteral("bgr=0,tpow=1")));
        QCOMPARE(FileBytes(file_), original);

        const auto expected = ProcessProfile(form_->Model(), ParseChain("bgr=0,tpow=1"));
        const test::TSegyContents segy = test::ReadSegy(target.toStdString());
        QCOMPARE(segy.Traces.size(), std::size_t{400});
        for (std::uint32_t t = 0; t < 400; ++t) {
            const auto row = expected->Trace(t);
            QVERIFY(segy.Traces[t] == std::vector<float>(row.begin(), row.end()));
        }
    }

    // Zoomed in, only the traces around the view are processed, yet they show as in the whole
    // profile.
    void zoomedPart() {
        Generate(QStringLiteral("zoom.GPR2"));
        Open(file_);
        ShowView();
        Turn("bgr", true);
        WaitProcessed();
        const QString whole = StatusAt(205, 30);
        Canvas().SetView({200, 20, 0, 64});
        WaitProcessed();
        QCOMPARE(StatusAt(205, 30), whole);
    }

    // A changed chain shows the traces in view as soon as they are processed; those around
    // them, for a pan, follow in a run of their own.
    void viewFirstThenAround() {
        Generate(QStringLiteral("around.GPR2"));
        Open(file_);
        ShowView();
        Canvas().SetView({200, 20, 0, 64});
        TViewProcessing* processing = View().Processing();
        std::vector<std::pair<bool, bool>> shown;  // the view's last trace, a trace beyond it
        const auto connection = connect(processing, &TViewProcessing::Shown, this, [&] {
            shown.emplace_back(processing->ProcessedAt(219, 0).has_value(),
                               processing->ProcessedAt(223, 0).has_value());
        });
        Turn("dewow", true);
        WaitProcessed();
        disconnect(connection);
        QCOMPARE(shown.size(), std::size_t{2});
        QVERIFY(shown[0].first && !shown[0].second);
        QVERIFY(shown[1].first && shown[1].second);
    }
};

QTEST_MAIN(TestViewProcessing)
#include "test_view_processing.moc"
