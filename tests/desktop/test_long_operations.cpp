#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "desktop/amplitude/long_operation.h"
#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/main_form.h"
#include "desktop/widgets/spin_edit.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "radargram_generator.h"

using namespace trelvanox;

// A whole-file gain on a large radargram, through the real amplitude dialog: the windows keep
// answering while it computes, and "Отмена" at half way leaves the file as it was.
class TestLongOperations : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString file_;

    TFmRegulationAmplitude& Dialog() { return *form_->FmRegulationAmplitude(); }
    QProgressDialog* ProgressWindow() {
        return Dialog().findChild<QProgressDialog*>(QStringLiteral("dlgOperationProgress"));
    }
    // A gain of 2 of every sample of the whole file.
    void PrepareWholeFileGain() {
        RunAction(*form_, "acnRegulationAmplitude");
        QVERIFY(QTest::qWaitForWindowExposed(&Dialog()));
        Dialog().findChild<QLineEdit*>(QStringLiteral("ltxtGain"))->setText(QStringLiteral("2"));
        Dialog().findChild<TSpinEdit*>(QStringLiteral("stxtGainForMin"))->SetText("100000000");
    }
    void Gain() { Dialog().findChild<QAbstractButton*>(QStringLiteral("bbtnGain"))->click(); }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        file_ = dir_.filePath(QStringLiteral("large.GPR2"));
        TGeneratorOptions options;
        options.TraceCount = 40000;  // 80 MB
        options.SampleCount = 512;
        options.LabelEvery = 100;
        GenerateRadargram(QFile::encodeName(file_).toStdString(), options);
    }

    void init() {
        platform_ = std::make_unique<TFakePlatform>();
        form_ = std::make_unique<TFmMainForm>(
            *platform_, QFile::encodeName(dir_.filePath(QStringLiteral("s.ini"))).toStdString());
        form_->CreateDialogs();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QVERIFY(OpenRadargram(*form_, *platform_, file_));
    }

    void cleanup() {
        form_.reset();
        platform_.reset();
    }

    // The computing runs off the GUI thread; the write turns the event loop at each step of
    // progress the journalled write reports.
    void theEventLoopTurnsWhileAWholeFileGainComputes() {
        PrepareWholeFileGain();
        const QByteArray before = FileBytes(file_);
        QElapsedTimer clock;
        qint64 last = -1;
        qint64 longestGap = 0;
        qint64 longestOverall = 0;
        int turns = 0;
        bool computing = true;
        QTimer tick;
        tick.setInterval(5);
        connect(&tick, &QTimer::timeout, this, [&] {
            const qint64 now = clock.elapsed();
            if (computing && last >= 0) longestGap = std::max(longestGap, now - last);
            if (last >= 0) longestOverall = std::max(longestOverall, now - last);
            last = now;
            ++turns;
        });
        // The computing ends where the dialog's own bar reaches its end.
        connect(Dialog().pbarProgress(), &QProgressBar::valueChanged, this,
                [&](int value) { computing = value < 100; });
        bool sawWindow = false;
        connect(Dialog().pbarProgress(), &QProgressBar::valueChanged, this, [&] {
            if (QProgressDialog* window = ProgressWindow()) sawWindow |= window->isVisible();
        });
        clock.start();
        tick.start();
        Gain();
        tick.stop();
        qInfo(
            "whole-file gain: %lld ms, %d event-loop turns, longest gap while computing %lld ms, "
            "over the whole run %lld ms",
            clock.elapsed(), turns, longestGap, longestOverall);
        QVERIFY(turns > 0);
        QVERIFY2(longestGap < 100, qPrintable(QString::number(longestGap)));
        QVERIFY(ProgressWindow() == nullptr || ProgressWindow()->isHidden());
        QVERIFY(sawWindow);
        QCOMPARE(platform_->Messages(), QStringList{QStringLiteral("Амплитуды усилены")});
        QVERIFY(FileBytes(file_) != before);
        // Back as it was, for the next case.
        RunAction(*form_, "acnUndo");
        QCOMPARE(FileBytes(file_), before);
    }

    // The computing itself stops at its next step once "Отмена" is pressed, and every position
    // it reached arrives on the GUI thread, in order, the event loop turning meanwhile.
    void cancelStopsTheComputingAtItsNextStep() {
        TLongOperation operation(form_.get(), QStringLiteral("Проба"), true);
        std::atomic<int> reached{0};
        QList<std::uint32_t> seen;
        int turns = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&] { ++turns; });
        tick.start(5);
        const bool finished = operation.Compute(
            [&](const TProgress& progress) {
                for (std::uint32_t p = 0; p <= 100; ++p) {
                    progress(p);
                    reached = int(p);
                    std::this_thread::sleep_for(std::chrono::milliseconds(3));
                }
            },
            [&](std::uint32_t position) {
                seen << position;
                if (position == 50)
                    form_->findChild<QProgressDialog*>(QStringLiteral("dlgOperationProgress"))
                        ->cancel();
            });
        QVERIFY(!finished);
        QVERIFY(operation.Cancelled());
        QVERIFY(reached < 100);
        QVERIFY(turns > 5);
        for (int i = 0; i < seen.size(); ++i) QCOMPARE(seen[i], std::uint32_t(i));
        QVERIFY(!operation.WriteProgress()(0.0));  // the write that would follow does not start
    }

    void cancelAtHalfWayLeavesTheFileAsItWas() {
        PrepareWholeFileGain();
        const QByteArray before = FileBytes(file_);
        const float first = std::as_const(form_->Model()).Samples(0)[10];
        bool cancelled = false;
        connect(Dialog().pbarProgress(), &QProgressBar::valueChanged, this, [&](int value) {
            if (value < 50 || cancelled) return;
            QProgressDialog* window = ProgressWindow();
            QVERIFY(window);
            window->cancel();
            cancelled = true;
        });
        Gain();
        QVERIFY(cancelled);
        QVERIFY(platform_->Messages().isEmpty());  // a stop needs no word
        QCOMPARE(FileBytes(file_), before);
        QCOMPARE(std::as_const(form_->Model()).Samples(0)[10], first);
        // No step of the history took it.
        for (const THistoryEntry& entry : form_->Document().History()) QVERIFY(!entry.Applied);
    }
};

QTEST_MAIN(TestLongOperations)
#include "test_long_operations.moc"
