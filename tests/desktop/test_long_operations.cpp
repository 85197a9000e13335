#include <QAbstractButton>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "desktop/amplitude/regulation_amplitude_form.h"
#include "desktop/app/main_form.h"
#include "desktop/document/document_use.h"
#include "desktop/document/gui_notices.h"
#include "desktop/document/long_operation.h"
#include "desktop/view/overview_strip.h"
#include "desktop/view/radargram_canvas.h"
#include "desktop/view/radargram_view_form.h"
#include "desktop/view/view_processing.h"
#include "desktop/widgets/spin_edit.h"
#include "fake_platform.h"
#include "form_driver.h"
#include "radargram_generator.h"

using namespace trelvanox;

// A whole-file gain on a large radargram, through the real amplitude dialog, and its undo and
// redo: the windows keep answering through the whole run, and "Отмена" at half way leaves the
// file as it was.
class TestLongOperations : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<TFakePlatform> platform_;
    std::unique_ptr<TFmMainForm> form_;
    QString file_;

    // What the event loop and the progress window did during one run.
    struct TRunSeen {
        qint64 Ms = 0;
        int Turns = 0;
        qint64 LongestPause = 0;
        bool SawWindow = false;
        bool Backwards = false;
        int LastValue = 0;
        QStringList Labels;  // the texts the window showed, each once
    };

    TFmRegulationAmplitude& Dialog() { return *form_->FmRegulationAmplitude(); }
    // The progress window of the operation running now; those of operations done are hidden
    // until they go.
    QProgressDialog* ProgressWindow() {
        for (QProgressDialog* window :
             form_->findChildren<QProgressDialog*>(QStringLiteral("dlgOperationProgress")))
            if (window->isVisible()) return window;
        return nullptr;
    }
    // A gain of 2 of every sample of the whole file.
    void PrepareWholeFileGain() {
        RunAction(*form_, "acnRegulationAmplitude");
        QVERIFY(QTest::qWaitForWindowExposed(&Dialog()));
        Dialog().findChild<QLineEdit*>(QStringLiteral("ltxtGain"))->setText(QStringLiteral("2"));
        Dialog().findChild<TSpinEdit*>(QStringLiteral("stxtGainForMin"))->SetText("100000000");
    }
    void Gain() { Dialog().findChild<QAbstractButton*>(QStringLiteral("bbtnGain"))->click(); }

    // Runs the operation with a timer of 5 ms ticking: the longest pause between two ticks is
    // the longest the event loop stood still.
    TRunSeen Watch(const std::function<void()>& operation) {
        TRunSeen seen;
        QElapsedTimer clock;
        qint64 last = -1;
        QTimer tick;
        tick.setInterval(5);
        connect(&tick, &QTimer::timeout, this, [&] {
            const qint64 now = clock.elapsed();
            if (last >= 0) seen.LongestPause = std::max(seen.LongestPause, now - last);
            last = now;
            ++seen.Turns;
            QProgressDialog* window = ProgressWindow();
            if (!window) return;
            seen.SawWindow = true;
            seen.Backwards |= window->value() < seen.LastValue;
            seen.LastValue = window->value();
            if (!seen.Labels.contains(window->labelText())) seen.Labels << window->labelText();
        });
        clock.start();
        tick.start();
        operation();
        tick.stop();
        seen.Ms = clock.elapsed();
        return seen;
    }

    // Presses "Отмена" of the next operation once its bar reaches at (of 1000), while the
    // operation waits on that step; cancelledAt gets the value it was pressed at.
    void CancelWhenBarReaches(int at, int& cancelledAt, QTimer& watch) {
        connect(&watch, &QTimer::timeout, this, [this, at, &cancelledAt, &watch] {
            QProgressDialog* window = ProgressWindow();
            if (!window) return;
            watch.stop();
            connect(window->findChild<QProgressBar*>(), &QProgressBar::valueChanged, window,
                    [&cancelledAt, at, window](int value) {
                        if (cancelledAt >= 0 || value < at) return;
                        cancelledAt = value;
                        window->cancel();
                    });
        });
        watch.start(1);
    }

    void VerifyAnswered(const char* what, const TRunSeen& seen) {
        qInfo("%s: %lld ms, %d event-loop turns, longest pause %lld ms, bar up to %d of 1000", what,
              seen.Ms, seen.Turns, seen.LongestPause, seen.LastValue);
        QVERIFY(seen.Turns > 0);
        QVERIFY2(seen.LongestPause < 100, qPrintable(QString::number(seen.LongestPause)));
        QVERIFY(seen.SawWindow);
        QVERIFY(!seen.Backwards);
        QVERIFY(!ProgressWindow());
    }
    int AppliedSteps() {
        int applied = 0;
        for (const THistoryEntry& entry : form_->Document().History()) applied += entry.Applied;
        return applied;
    }

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

    // The computing, the journalled write with its commit, and for an undo or a redo the read
    // that follows, all run off the GUI thread: the event loop turns throughout, and the bar of
    // the progress window only moves forward, over the write too.
    void theEventLoopTurnsThroughAWholeFileGainItsUndoAndRedo() {
        PrepareWholeFileGain();
        const QByteArray before = FileBytes(file_);
        const TRunSeen gain = Watch([this] { Gain(); });
        VerifyAnswered("whole-file gain", gain);
        QVERIFY2(gain.LastValue > 900, qPrintable(QString::number(gain.LastValue)));
        // The window says what the work does now.
        QCOMPARE(gain.Labels, (QStringList{QStringLiteral("Усиление амплитуд\nРасчёт"),
                                           QStringLiteral("Усиление амплитуд\nЗапись файла")}));
        QCOMPARE(platform_->Messages(), QStringList{QStringLiteral("Амплитуды усилены")});
        const QByteArray gained = FileBytes(file_);
        QVERIFY(gained != before);
        const float sample = std::as_const(form_->Model()).Samples(0)[10];

        const TRunSeen undo = Watch([this] { RunAction(*form_, "acnUndo"); });
        VerifyAnswered("undo", undo);
        QCOMPARE(undo.Labels, QStringList{QStringLiteral("Отменить\n«Усиление амплитуд»")});
        QCOMPARE(FileBytes(file_), before);
        QCOMPARE(std::as_const(form_->Model()).Samples(0)[10], sample / 2);
        VerifyAnswered("redo", Watch([this] { RunAction(*form_, "acnRedo"); }));
        QCOMPARE(FileBytes(file_), gained);
        QCOMPARE(std::as_const(form_->Model()).Samples(0)[10], sample);
        QCOMPARE(platform_->Messages().size(), 1);
        // Back as it was, for the next case.
        RunAction(*form_, "acnUndo");
        QCOMPARE(FileBytes(file_), before);
    }

    // The search of the extremes reads the whole file too: it answers the same way, and a stop
    // leaves the fields as they were.
    void theSearchOfTheExtremesAnswersAndStops() {
        PrepareWholeFileGain();
        auto* largest =
            Dialog().findChild<QLineEdit*>(QStringLiteral("ltxtSampleWithMaxAmplitude"));
        auto* find = Dialog().findChild<QAbstractButton*>(QStringLiteral("btnFindMinMaxAmplitude"));
        largest->setText(QStringLiteral("-"));
        int cancelledAt = -1;
        QTimer watch;
        CancelWhenBarReaches(500, cancelledAt, watch);
        find->click();
        QVERIFY(cancelledAt >= 500);
        QCOMPARE(largest->text(), QStringLiteral("-"));

        VerifyAnswered("search of the extremes", Watch([find] { find->click(); }));
        QVERIFY(largest->text() != QStringLiteral("-"));
        QVERIFY(platform_->Messages().isEmpty());
    }

    // What the document tells while a long operation's worker is in it reaches the windows on
    // the GUI thread once the work has ended; told from another thread without an operation, it
    // runs on the GUI thread while that thread waits.
    void theDocumentsNoticesReachTheWindowsOnTheGuiThread() {
        std::atomic<bool> working{false};
        QList<TDocumentChange> told;
        bool onGui = true;
        bool whileWorking = false;
        const int key = form_->Document().Subscribe(OnGuiThread([&](TDocumentChange change) {
            onGui = onGui && QThread::currentThread() == qApp->thread();
            whileWorking = whileWorking || working.load();
            told << change;
        }));
        bool read = false;
        {
            TLongOperation operation(form_.get(), QStringLiteral("Проба"), true,
                                     &form_->DocumentUse());
            operation.Run([&](const TWriteProgress&) {
                working = true;
                read = form_->Document().ReadAgain().Ok();
                working = false;
            });
        }
        QVERIFY(read);
        QVERIFY(onGui);
        QVERIFY(!whileWorking);
        QCOMPARE(told, QList<TDocumentChange>{TDocumentChange::Read});

        told.clear();
        QEventLoop loop;
        std::thread other([&] {
            working = true;
            form_->Document().ReadAgain();
            working = false;
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        other.join();
        form_->Document().Unsubscribe(key);
        QVERIFY(onGui);
        QVERIFY(whileWorking);
        QCOMPARE(told, QList<TDocumentChange>{TDocumentChange::Read});
    }

    // The computing itself stops at its next step once "Отмена" is pressed, and every position
    // it reached arrives on the GUI thread, in order, the event loop turning meanwhile.
    void cancelStopsTheComputingAtItsNextStep() {
        TLongOperation operation(form_.get(), QStringLiteral("Проба"), true, &form_->DocumentUse());
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

    // While the worker is in the document the view window reads nothing of the model: resized
    // and repainted, it shows the picture it had, the processing asked for meanwhile waits, and
    // a job that ran when the operation began is stopped. Afterwards the picture is the file's.
    void theViewReadsNothingOfTheModelWhileTheWorkerChangesIt_data() {
        QTest::addColumn<bool>("undo");
        QTest::addColumn<int>("uses");
        // The computing, then the write.
        QTest::newRow("a whole-file gain") << false << 2;
        // The rewrite of the file, then its read.
        QTest::newRow("its undo") << true << 1;
    }
    void theViewReadsNothingOfTheModelWhileTheWorkerChangesIt() {
        QFETCH(bool, undo);
        QFETCH(int, uses);
        TFmRadargramView& view = *form_->FmRadargramView();
        TRadargramCanvas& canvas = *view.Canvas();
        TOverviewStrip& strip = *view.Overview();
        RunAction(*form_, "acnViewRadargram");
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto& steps = *view.findChild<QListWidget*>(QStringLiteral("lstProcessingSteps"));
        // A job over the traces in view runs when the operation begins.
        steps.item(0)->setCheckState(Qt::Checked);
        PrepareWholeFileGain();
        form_->activateWindow();
        if (undo) {
            Gain();
            platform_->Clear();
        }

        int renders = -1;
        int stripRenders = -1;
        bool rendered = false;
        bool processed = false;
        QSet<int> widths;
        int turns = 0;
        int used = 0;
        // Connected after the view: each use counts from the picture the view froze.
        QObject watcher;
        connect(&form_->DocumentUse(), &TDocumentUse::UseChanged, &watcher, [&](bool inUse) {
            if (!inUse) return;
            ++used;
            renders = canvas.RenderCount();
            stripRenders = strip.RenderCount();
        });
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&] {
            if (!form_->DocumentUse().InUse()) return;
            ++turns;
            // As a window manager would: another size, and every part painted at once.
            view.resize(view.width() + (turns % 2 ? 60 : -60),
                        view.height() + (turns % 2 ? 20 : -20));
            widths << canvas.width();
            canvas.repaint();
            strip.repaint();
            view.StatusLine()->repaint();
            steps.item(1)->setCheckState(turns % 2 ? Qt::Checked : Qt::Unchecked);
            processed = processed || view.Processing()->Processing();
            rendered =
                rendered || canvas.RenderCount() != renders || strip.RenderCount() != stripRenders;
        });
        tick.start(5);
        if (undo)
            RunAction(*form_, "acnUndo");
        else
            Gain();
        tick.stop();
        QCOMPARE(platform_->Messages(),
                 undo ? QStringList{} : QStringList{QStringLiteral("Амплитуды усилены")});
        qInfo("%d uses, %d turns in use, %lld canvas widths", used, turns, qint64(widths.size()));
        QCOMPARE(used, uses);
        QVERIFY(turns > 2);
        QVERIFY(widths.size() > 1);
        QVERIFY(!rendered);
        QVERIFY(!processed);
        QVERIFY(!canvas.Frozen());

        // Raw again, the view draws the gained samples at its size of now, as a canvas new to
        // them does.
        for (int row = 0; row < steps.count(); ++row) steps.item(row)->setCheckState(Qt::Unchecked);
        QTRY_VERIFY_WITH_TIMEOUT(!view.Processing()->Processing(), 20000);
        const QImage shown = canvas.grab().toImage();
        QVERIFY(canvas.RenderCount() > renders);
        QTRY_VERIFY(strip.RenderCount() > stripRenders);
        TRadargramCanvas fresh;
        fresh.resize(canvas.size());
        fresh.ShowProfile(&std::as_const(form_->Model()), true);
        fresh.SetView(canvas.View());
        fresh.SetMarks(canvas.Marks());
        fresh.SetFrame(canvas.Frame());
        const QRect image = canvas.ImageRect();
        QCOMPARE(fresh.grab().toImage().copy(image), shown.copy(image));
        if (!undo) RunAction(*form_, "acnUndo");
    }

    // "Применить к файлу" that runs over the profile when an operation begins would write what
    // it read while the samples changed: it is broken off, with a word, and writes nothing.
    void aCommandOfTheViewsProcessingIsBrokenOffByAnOperation() {
        TFmRadargramView& view = *form_->FmRadargramView();
        RunAction(*form_, "acnViewRadargram");
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.findChild<QListWidget*>(QStringLiteral("lstProcessingSteps"))
            ->item(0)
            ->setCheckState(Qt::Checked);
        PrepareWholeFileGain();
        platform_->Clear();
        auto* apply = view.findChild<QAbstractButton*>(QStringLiteral("btnApplyProcessing"));
        apply->click();
        QVERIFY(view.Processing()->Processing());
        Gain();
        QTRY_COMPARE(platform_->Messages().size(), 3);
        QCOMPARE(platform_->Messages()[1], QStringLiteral("Амплитуды усилены"));
        QCOMPARE(platform_->Messages()[2],
                 QStringLiteral("Команда обработки прервана: файл изменялся другой операцией. "
                                "Повторите команду."));
        QVERIFY(apply->isEnabled());
        // Only the gain became a step of the history.
        QCOMPARE(AppliedSteps(), 1);
        QCOMPARE(form_->Document().History().back().Description, std::string("Усиление амплитуд"));
        RunAction(*form_, "acnUndo");
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
        QTimer watch;
        CancelWhenBarReaches(at, cancelledAt, watch);
        Gain();
        qInfo("cancelled at %d of 1000", cancelledAt);
        QVERIFY(cancelledAt >= at);
        QVERIFY(cancelledAt < 1000);
        // A stop needs no word.
        QVERIFY2(platform_->Messages().isEmpty(), qPrintable(platform_->Messages().join(';')));
        QCOMPARE(FileBytes(file_), before);
        QCOMPARE(std::as_const(form_->Model()).Samples(0)[10], first);
        // No step of the history took it.
        QCOMPARE(AppliedSteps(), 0);
    }

    void cancelOfAnUndoOrRedoLeavesTheFileAsItWas_data() {
        QTest::addColumn<bool>("undo");
        QTest::addColumn<int>("at");
        QTest::newRow("undo, early") << true << 200;
        QTest::newRow("undo, half way") << true << 500;
        QTest::newRow("undo, late") << true << 800;
        QTest::newRow("redo, half way") << false << 500;
    }
    void cancelOfAnUndoOrRedoLeavesTheFileAsItWas() {
        QFETCH(bool, undo);
        QFETCH(int, at);
        const QByteArray before = FileBytes(file_);
        PrepareWholeFileGain();
        Gain();
        const QByteArray gained = FileBytes(file_);
        QVERIFY(gained != before);
        if (!undo) RunAction(*form_, "acnUndo");
        const QByteArray start = undo ? gained : before;
        const int applied = AppliedSteps();
        const float sample = std::as_const(form_->Model()).Samples(0)[10];
        platform_->Clear();

        int cancelledAt = -1;
        QTimer watch;
        CancelWhenBarReaches(at, cancelledAt, watch);
        RunAction(*form_, undo ? "acnUndo" : "acnRedo");
        qInfo("cancelled at %d of 1000", cancelledAt);
        QVERIFY(cancelledAt >= at);
        QVERIFY(cancelledAt < 1000);
        QVERIFY2(platform_->Messages().isEmpty(), qPrintable(platform_->Messages().join(';')));
        QCOMPARE(FileBytes(file_), start);
        QCOMPARE(std::as_const(form_->Model()).Samples(0)[10], sample);
        QCOMPARE(AppliedSteps(), applied);

        // The step is still there to take, and the file goes back as it was.
        if (!undo) RunAction(*form_, "acnRedo");
        RunAction(*form_, "acnUndo");
        QCOMPARE(FileBytes(file_), before);
    }
};

QTEST_MAIN(TestLongOperations)
#include "test_long_operations.moc"
