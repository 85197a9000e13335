#pragma once

#include <QObject>

namespace trelvanox {

// Whether a long operation's worker is in the document: from before it starts until after it
// has ended, on the GUI thread. Meanwhile the worker may replace the model's vectors at any
// moment, so the windows that draw from the model paint what they last drew and start no work
// that reads it; they catch up when the document's held notices arrive, which come after the
// use has ended. The main window owns it and hands it to whatever must know.
class TDocumentUse : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    bool InUse() const { return inUse_; }

    // The document in use for as long as it lives.
    class TScope {
      public:
        explicit TScope(TDocumentUse& use);
        ~TScope();
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;

      private:
        TDocumentUse& use_;
    };

  signals:
    // The use began (true: told before the worker starts) or ended (false).
    void UseChanged(bool inUse);

  private:
    bool inUse_ = false;
};

}  // namespace trelvanox
