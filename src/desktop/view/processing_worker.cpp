#include "desktop/view/processing_worker.h"

#include <QMetaObject>
#include <chrono>
#include <new>

#include "common/program_error.h"

namespace trelvanox {

TProcessingWorker::TProcessingWorker(QObject* parent)
    : QObject(parent),
      stop_(std::make_shared<std::atomic<bool>>(false)),
      done_(std::make_shared<std::atomic<bool>>(true)) {}

TProcessingWorker::~TProcessingWorker() {
    Stop();
}

void TProcessingWorker::Retire() {
    stop_->store(true);
    if (thread_.joinable()) retired_.push_back({std::move(thread_), done_});
    std::erase_if(retired_, [](TRetired& job) {
        if (!job.Done->load()) return false;
        job.Thread.join();
        return true;
    });
}

void TProcessingWorker::Stop() {
    Retire();
    for (TRetired& job : retired_) job.Thread.join();
    retired_.clear();
}

int TProcessingWorker::Start(const TRadargram& model, const TProcessingChain& chain,
                             std::uint32_t first, std::uint32_t end,
                             std::shared_ptr<TProcessingCache> cache) {
    Retire();
    const int job = ++job_;
    stop_ = std::make_shared<std::atomic<bool>>(false);
    done_ = std::make_shared<std::atomic<bool>>(false);
    // The thread tells the worker through queued calls; the worker waits for the thread before
    // it goes, so it is there to take them.
    thread_ = std::thread([=, this, &model, stop = stop_, done = done_] {
        using TClock = std::chrono::steady_clock;
        auto told = TClock::now();
        const auto progress = [&](double fraction) {
            // A few reports a second are enough for a bar.
            if (TClock::now() - told > std::chrono::milliseconds(50)) {
                told = TClock::now();
                QMetaObject::invokeMethod(
                    this, [this, job, fraction] { emit Progress(job, fraction); },
                    Qt::QueuedConnection);
            }
            return !stop->load();
        };
        std::shared_ptr<TProcessedTraces> result;
        QString failure;
        try {
            if (auto traces = ProcessTraces(model, chain, first, end, progress, cache.get()))
                result = std::make_shared<TProcessedTraces>(std::move(*traces));
        } catch (const TProgramError& e) {
            failure = QString::fromUtf8(e.what());
        } catch (const std::bad_alloc&) {
            failure = QStringLiteral("Недостаточно памяти для обработки");
        }
        done->store(true);
        if (stop->load()) return;
        QMetaObject::invokeMethod(
            this,
            [this, job, result, failure] {
                if (result)
                    emit Finished(job, result);
                else
                    emit Failed(job, failure);
            },
            Qt::QueuedConnection);
    });
    return job;
}

}  // namespace trelvanox
