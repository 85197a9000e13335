#pragma once

#include <functional>
#include <vector>

#include "document/radargram_document.h"

namespace trelvanox {

// The windows follow the document through its observers, which update widgets: they must run
// on the GUI thread, and nothing may change the model while they, or the repaints they cause,
// read it. A long operation changes the document on a worker thread; what the document tells
// there is held and told on the GUI thread once the worker has ended.

// The observer as a window subscribes it: on the GUI thread it is called at once. On a worker
// thread that holds its notices (THeldNotices::TScope) the change waits for Release; on any
// other thread it is told on the GUI thread while the worker waits.
TRadargramDocument::TObserver OnGuiThread(TRadargramDocument::TObserver observer);

class THeldNotices {
  public:
    // While it lives, the changes told on the thread that made it are held by notices.
    class TScope {
      public:
        explicit TScope(THeldNotices& notices);
        ~TScope();
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;

      private:
        THeldNotices* previous_;
    };

    // On the GUI thread once the worker has ended: tells every held change, in order.
    void Release();

  private:
    friend TRadargramDocument::TObserver OnGuiThread(TRadargramDocument::TObserver observer);
    std::vector<std::function<void()>> held_;
};

}  // namespace trelvanox
