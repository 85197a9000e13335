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

#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/main_form.h"
#include "desktop/document/long_operation.h"
#include "desktop/widgets/spin_edit.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "radargram_generator.h"

using namespace trelvanox;

// A whole-file gain on a large radargram, through the real amplitude dialog: the windows keep
// answering while it computes and writes, and "Отмена" at half way leaves the file as it was.
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

    // The computing, the journalled write and its commit all run off the GUI thread: the event
    // loop turns throughout, and the bar of the progress window only moves forward.
    void theEventLoopTurnsThroughAWholeFileGain() {
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
        int lastValue = 0;
        bool backwards = false;
        connect(&tick, &QTimer::timeout, this, [&] {
            QProgressDialog* window = ProgressWindow();
            if (!window || !window->isVisible()) return;
            sawWindow = true;
            backwards |= window->value() < lastValue;
            lastValue = window->value();
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
        QVERIFY2(longestOverall < 100, qPrintable(QString::number(longestOverall)));
        QVERIFY(!backwards);
        // The write's share of the bar was shown too, not only the computing's.
        QVERIFY2(lastValue > 900, qPrintable(QString::number(lastValue)));
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
        // The write that would follow does not start.
        bool started = true;
        operation.Run([&](const TWriteProgress& progress) { started = progress(0.0); });
        QVERIFY(!started);
    }

    // The progress window's bar runs over the computing and then the write.
    void cancelAtHalfWayLeavesTheFileAsItWas_data() {
        QTest::addColumn<int>("at");
        QTest::newRow("half of the computing") << 400;
        QTest::newRow("half of the journal's record") << 850;
        QTest::newRow("half of the write into the file") << 950;
    }
    void cancelAtHalfWayLeavesTheFileAsItWas() {
        QFETCH(int, at);
        PrepareWholeFileGain();
        const QByteArray before = FileBytes(file_);
        const float first = std::as_const(form_->Model()).Samples(0)[10];
        int cancelledAt = -1;
        // The progress window is made when the gain starts; the computing's first step is
        // shown in the dialog's own bar too.
        QMetaObject::Connection hooked;
        hooked = connect(Dialog().pbarProgress(), &QProgressBar::valueChanged, this, [&] {
            QProgressDialog* window = ProgressWindow();
            if (!window) return;
            disconnect(hooked);
            connect(window->findChild<QProgressBar*>(), &QProgressBar::valueChanged, window,
                    [&, window](int value) {
                        if (cancelledAt >= 0 || value < at) return;
                        cancelledAt = value;
                        window->cancel();
                    });
        });
        Gain();
        qInfo("cancelled at %d of 1000", cancelledAt);
        QVERIFY(cancelledAt >= at);
        QVERIFY(cancelledAt < 1000);
        // A stop needs no word.
        QVERIFY2(platform_->Messages().isEmpty(), qPrintable(platform_->Messages().join(';')));
        QCOMPARE(FileBytes(file_), before);
        QCOMPARE(std::as_const(form_->Model()).Samples(0)[10], first);
        // No step of the history took it.
        for (const THistoryEntry& entry : form_->Document().History()) QVERIFY(!entry.Applied);
    }
};

QTEST_MAIN(TestLongOperations)
#include "test_long_operations.moc"
