#include "desktop/amplitude/long_operation.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <atomic>
#include <exception>
#include <thread>

namespace trelvanox {

namespace {

constexpr int kBarSteps = 1000;
// The event loop turns at least this often during the write.
constexpr qint64 kEventsEveryMs = 30;

// Thrown from the worker's progress when the user stopped it; caught on the worker.
struct TStopped {};

}  // namespace

TLongOperation::TLongOperation(QWidget* owner, const QString& title, bool large)
    : dialog_(new QProgressDialog(title, QStringLiteral("Отмена"), 0, kBarSteps, owner)) {
    dialog_->setObjectName(QStringLiteral("dlgOperationProgress"));
    dialog_->setWindowTitle(title);
    dialog_->setWindowModality(Qt::ApplicationModal);
    // A short operation finishes before the window would flash up.
    dialog_->setMinimumDuration(large ? 0 : 400);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setValue(0);
    sinceEvents_.start();
}

TLongOperation::~TLongOperation() {
    if (!dialog_) return;
    dialog_->hide();
    dialog_->deleteLater();
}

bool TLongOperation::Cancelled() const {
    return dialog_ && dialog_->wasCanceled();
}

void TLongOperation::Show(double fraction) {
    if (dialog_) dialog_->setValue(static_cast<int>(fraction * kBarSteps));
}

bool TLongOperation::Compute(const std::function<void(const TProgress&)>& work,
                             const TProgress& guiProgress) {
    std::atomic<bool> stop{false};
    std::exception_ptr error;
    bool stopped = false;
    QEventLoop loop;
    QObject receiver;  // lives on the GUI thread: the worker's posts run there, in order

    std::thread worker([&] {
        const TProgress progress = [&](std::uint32_t position) {
            if (stop.load()) throw TStopped{};
            QMetaObject::invokeMethod(
                &receiver,
                [this, &guiProgress, &stop, position] {
                    if (guiProgress) guiProgress(position);
                    Show(kComputeShare * position / 100.0);
                    if (Cancelled()) stop.store(true);
                },
                Qt::QueuedConnection);
        };
        try {
            work(progress);
        } catch (const TStopped&) {
            stopped = true;
        } catch (...) {
            error = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QMetaObject::Connection cancel;
    if (dialog_)
        cancel = QObject::connect(dialog_, &QProgressDialog::canceled, &receiver,
                                  [&stop] { stop.store(true); });
    loop.exec();
    worker.join();
    QObject::disconnect(cancel);
    // What the worker posted before it ended, so the caller's display ends where the work did.
    QCoreApplication::sendPostedEvents(&receiver);
    if (error) std::rethrow_exception(error);
    return !stopped;
}

TWriteProgress TLongOperation::WriteProgress() {
    return [this](double fraction) {
        Show(kComputeShare + (1.0 - kComputeShare) * fraction);
        // At the start too: the window shows its state before the write begins.
        if (fraction == 0.0 || sinceEvents_.elapsed() >= kEventsEveryMs) {
            QCoreApplication::processEvents();
            sinceEvents_.restart();
        }
        return !Cancelled();
    };
}

}  // namespace trelvanox
