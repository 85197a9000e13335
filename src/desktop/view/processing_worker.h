#pragma once

#include <QObject>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "processing/chain_runner.h"

namespace trelvanox {

// Runs the processing chain over a range of traces on a thread of its own, so that the window
// answers while a whole profile is processed. One job at a time: a new one tells the one before
// to stop and does not wait for it (a stopped job reports nothing). The results come back on the
// GUI thread as signals, each with the number Start gave.
//
// The model belongs to the caller and must outlive the worker. A job that reads it while it
// changes gives a result the caller no longer awaits; Stop waits for every job.
class TProcessingWorker : public QObject {
    Q_OBJECT
  public:
    explicit TProcessingWorker(QObject* parent = nullptr);
    ~TProcessingWorker() override;

    // Starts processing traces [first, end); returns the job's number.
    int Start(const TRadargram& model, const TProcessingChain& chain, std::uint32_t first,
              std::uint32_t end, std::shared_ptr<TProcessingCache> cache);
    // Tells the job that runs, if any, to stop, without waiting for it.
    void Cancel() { Retire(); }
    // Stops the job that runs, if any, and waits for every thread.
    void Stop();
    bool Busy() const { return thread_.joinable() && !done_->load(); }

  signals:
    void Progress(int job, double fraction);
    void Finished(int job, std::shared_ptr<TProcessedTraces> traces);
    void Failed(int job, const QString& message);

  private:
    struct TRetired {
        std::thread Thread;
        std::shared_ptr<std::atomic<bool>> Done;
    };
    // Tells the running job to stop and sets it aside; joins the jobs set aside that have ended.
    void Retire();

    std::vector<TRetired> retired_;
    std::thread thread_;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::shared_ptr<std::atomic<bool>> done_;
    int job_ = 0;
};

}  // namespace trelvanox
