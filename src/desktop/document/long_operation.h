#pragma once

#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

#include "amplitude/amplitude_operations.h"
#include "document/model_edit.h"
#include "model/radargram.h"

class QObject;
class QProgressDialog;
class QWidget;

namespace trelvanox {

class TDocumentUse;

// Whether an operation over the whole of model takes long enough to show its progress window at
// once (about 16 MB of samples and more).
bool ShowsProgressAtOnce(const TRadargram& model);

// One long operation on the radargram, as the user sees it: a progress window over the program
// with the share done and "Отмена", the windows repainting meanwhile, input elsewhere held until
// it ends.
//
// Its work (the computing, the journalled write with its commit, an undo or a redo with the
// read that follows) runs on a worker thread while the GUI thread stays in the progress window's
// event loop. While the worker runs, the document is in use (TDocumentUse): the windows repaint
// from what they last drew and read nothing of the model. What the document tells its observers
// meanwhile reaches them once the work has ended and the use with it (see THeldNotices).
class TLongOperation {
  public:
    // A large operation shows its window at once; another only when it lasts (no flash for a
    // small file). use: the document's, for work that changes it; null for work that only reads
    // the model, which the windows may read alongside.
    TLongOperation(QWidget* owner, const QString& title, bool large, TDocumentUse* use);
    ~TLongOperation();
    TLongOperation(const TLongOperation&) = delete;
    TLongOperation& operator=(const TLongOperation&) = delete;

    // Runs work on a worker thread, giving it a progress that the caller's guiProgress follows
    // on the GUI thread. False when the user stopped it ("Отмена"); work then ended at its next
    // progress call, wherever it was. An error thrown by work is thrown again here. The bar goes
    // up to share: the rest is the write's.
    bool Compute(const std::function<void(const TProgress&)>& work, const TProgress& guiProgress,
                 double share = kComputeShare);
    // Runs work on a worker thread with a progress that moves the bar between from and to and
    // answers false once the user pressed "Отмена". An error thrown by work is thrown again here.
    void Run(const std::function<void(const TWriteProgress&)>& work, double from = 0.0,
             double to = 1.0);
    bool Cancelled() const;
    // Names in the window what the work does now ("Запись файла"), under the title.
    void SetStage(const QString& stage);

    // The computing gets the first share of the bar, the write that follows the rest.
    static constexpr double kComputeShare = 0.8;

  private:
    void Show(double fraction);
    // work on a worker thread, the event loop turning until it ends.
    void OnWorker(const std::function<void()>& work);

    QString title_;
    TDocumentUse* use_;
    QPointer<QProgressDialog> dialog_;
    // Lives on the GUI thread: what the worker posts to it runs there, in order.
    std::unique_ptr<QObject> receiver_;
    std::atomic<bool> stop_{false};
    std::atomic<int> shownStep_{-1};
};

}  // namespace trelvanox
