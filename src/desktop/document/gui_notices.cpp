#include "desktop/document/gui_notices.h"

#include <QCoreApplication>
#include <QThread>
#include <utility>

namespace trelvanox {

namespace {

// The notices the current thread holds; each worker sets its own, the GUI thread never does.
thread_local THeldNotices* heldHere = nullptr;

}  // namespace

THeldNotices::TScope::TScope(THeldNotices& notices) : previous_(heldHere) {
    heldHere = &notices;
}

THeldNotices::TScope::~TScope() {
    heldHere = previous_;
}

void THeldNotices::Release() {
    // Taken first: an observer may start another operation that holds notices of its own.
    std::vector<std::function<void()>> held = std::exchange(held_, {});
    for (const std::function<void()>& tell : held) tell();
}

TRadargramDocument::TObserver OnGuiThread(TRadargramDocument::TObserver observer) {
    return [observer = std::move(observer)](TDocumentChange change) {
        QCoreApplication* application = QCoreApplication::instance();
        if (!application || QThread::currentThread() == application->thread()) {
            observer(change);
            return;
        }
        if (heldHere) {
            heldHere->held_.push_back([observer, change] { observer(change); });
            return;
        }
        QMetaObject::invokeMethod(
            application, [&observer, change] { observer(change); }, Qt::BlockingQueuedConnection);
    };
}

}  // namespace trelvanox
