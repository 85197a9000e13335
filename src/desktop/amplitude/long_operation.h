#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <functional>

#include "amplitude/amplitude_operations.h"
#include "document/model_edit.h"

class QProgressDialog;
class QWidget;

namespace trelvanox {

// One long operation on the radargram, as the user sees it: a progress window over the program
// with the share done and "Отмена", the windows repainting meanwhile, input elsewhere held until
// it ends.
//
// The computing runs on a worker thread and reports through a TProgress; each new position also
// reaches the caller's own progress display, in order, on the GUI thread. The write that follows
// runs on the GUI thread and turns the event loop from its TWriteProgress. The model is not
// reallocated by either, so windows that repaint from their cached pictures stay readable.
//
// The computing gets the first kComputeShare of the bar, the write the rest.
class TLongOperation {
  public:
    // A large operation shows its window at once; another only when it lasts (no flash for a
    // small file).
    TLongOperation(QWidget* owner, const QString& title, bool large);
    ~TLongOperation();
    TLongOperation(const TLongOperation&) = delete;
    TLongOperation& operator=(const TLongOperation&) = delete;

    // Runs work on a worker thread, giving it a progress that the caller's guiProgress follows
    // on the GUI thread. False when the user stopped it ("Отмена"); work then ended at its next
    // progress call, wherever it was. An error thrown by work is thrown again here.
    bool Compute(const std::function<void(const TProgress&)>& work, const TProgress& guiProgress);
    // For the write after the computing: moves the bar, turns the event loop, false once the
    // user pressed "Отмена".
    TWriteProgress WriteProgress();
    bool Cancelled() const;

    static constexpr double kComputeShare = 0.8;

  private:
    void Show(double fraction);

    QPointer<QProgressDialog> dialog_;
    QElapsedTimer sinceEvents_;
};

}  // namespace trelvanox
