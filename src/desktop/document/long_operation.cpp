#include "desktop/document/long_operation.h"

#include <QEventLoop>
#include <QObject>
#include <QProgressDialog>
#include <exception>
#include <optional>
#include <thread>

#include "desktop/document/document_use.h"
#include "desktop/document/gui_notices.h"

namespace trelvanox {

namespace {

constexpr int kBarSteps = 1000;

// Thrown from the worker's progress when the user stopped it; caught on the worker.
struct TStopped {};

int BarStep(double fraction) {
    return static_cast<int>(fraction * kBarSteps);
}

}  // namespace

bool ShowsProgressAtOnce(const TRadargram& model) {
    return std::uint64_t{model.Header().TraceCount} * model.Header().SampleCount >= (4u << 20);
}

TLongOperation::TLongOperation(QWidget* owner, const QString& title, bool large, TDocumentUse* use)
    : title_(title),
      use_(use),
      dialog_(new QProgressDialog(title, QStringLiteral("Отмена"), 0, kBarSteps, owner)),
      receiver_(std::make_unique<QObject>()) {
    dialog_->setObjectName(QStringLiteral("dlgOperationProgress"));
    dialog_->setWindowTitle(title);
    dialog_->setWindowModality(Qt::ApplicationModal);
    // Wide enough for its title to read as a line and for the bar to move visibly.
    dialog_->setMinimumWidth(360);
    // A short operation finishes before the window would flash up.
    dialog_->setMinimumDuration(large ? 0 : 400);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
    QObject::connect(dialog_, &QProgressDialog::canceled, receiver_.get(),
                     [this] { stop_.store(true); });
}

TLongOperation::~TLongOperation() {
    if (!dialog_) return;
    dialog_->hide();
    dialog_->deleteLater();
}

bool TLongOperation::Cancelled() const {
    return stop_.load() || (dialog_ && dialog_->wasCanceled());
}

void TLongOperation::SetStage(const QString& stage) {
    if (dialog_) dialog_->setLabelText(title_ + QStringLiteral("\n") + stage);
}

void TLongOperation::Show(double fraction) {
    if (!dialog_) return;
    dialog_->setValue(BarStep(fraction));
    // The button tells through canceled; a stop through cancel() only through wasCanceled.
    if (dialog_->wasCanceled()) stop_.store(true);
}

void TLongOperation::OnWorker(const std::function<void()>& work) {
    std::exception_ptr error;
    THeldNotices notices;
    QEventLoop loop;
    // Told before the worker starts and ended after it has, before the held notices go out: the
    // windows let go of the model first and follow it again only once nobody changes it.
    std::optional<TDocumentUse::TScope> inUse;
    if (use_) inUse.emplace(*use_);
    std::thread worker([&] {
        {
            const THeldNotices::TScope hold(notices);
            try {
                work();
            } catch (...) {
                error = std::current_exception();
            }
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    inUse.reset();
    // Every position was shown while the worker waited; now the windows follow the document,
    // which nobody changes any more.
    notices.Release();
    if (error) std::rethrow_exception(error);
}

bool TLongOperation::Compute(const std::function<void(const TProgress&)>& work,
                             const TProgress& guiProgress, double share) {
    bool stopped = false;
    OnWorker([&] {
        // The worker waits while each position is shown, as in Run: "Отмена" pressed at a
        // position stops the work there, not some way further on.
        const TProgress progress = [&](std::uint32_t position) {
            if (stop_.load()) throw TStopped{};
            QMetaObject::invokeMethod(
                receiver_.get(),
                [this, &guiProgress, share, position] {
                    if (guiProgress) guiProgress(position);
                    Show(share * position / 100.0);
                },
                Qt::BlockingQueuedConnection);
            if (stop_.load()) throw TStopped{};
        };
        try {
            work(progress);
        } catch (const TStopped&) {
            stopped = true;
        }
    });
    return !stopped;
}

void TLongOperation::Run(const std::function<void(const TWriteProgress&)>& work, double from,
                         double to) {
    OnWorker([&] {
        const TWriteProgress progress = [&](double fraction) {
            // The worker waits while each new step of the bar is shown: the bar is where the
            // work is, and "Отмена" pressed at a step stops the work right there. A write reports
            // far more often than the bar moves.
            const double shown = from + (to - from) * fraction;
            const int step = BarStep(shown);
            if (shownStep_.exchange(step) != step)
                QMetaObject::invokeMethod(
                    receiver_.get(), [this, shown] { Show(shown); }, Qt::BlockingQueuedConnection);
            return !stop_.load();
        };
        work(progress);
    });
}

}  // namespace trelvanox
