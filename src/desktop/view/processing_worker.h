#pragma once

#include <QObject>
#include <atomic>
#include <memory>
#include <thread>

#include "processing/chain_runner.h"

namespace trelvanox {

// Runs the processing chain over a range of traces on a thread of its own, so that the window
// answers while a whole profile is processed. One job at a time: a new one stops the one
// before. The results come back on the GUI thread as signals, each with the number Start gave.
//
// The model belongs to the caller; it must not change while a job reads it (the view stops the
// job first, see Stop) and must outlive the worker.
class TProcessingWorker : public QObject {
    Q_OBJECT
  public:
    explicit TProcessingWorker(QObject* parent = nullptr);
    ~TProcessingWorker() override;

    // Starts processing traces [first, end); returns the job's number.
    int Start(const TRadargram& model, const TProcessingChain& chain, std::uint32_t first,
              std::uint32_t end, std::shared_ptr<TProcessingCache> cache);
    // Stops the job that runs, if any, and waits for its thread.
    void Stop();
    bool Busy() const { return thread_.joinable() && !done_->load(); }

  signals:
    void Progress(int job, double fraction);
    void Finished(int job, std::shared_ptr<TProcessedTraces> traces);
    void Failed(int job, const QString& message);

  private:
    std::thread thread_;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::shared_ptr<std::atomic<bool>> done_;
    int job_ = 0;
};

}  // namespace trelvanox
