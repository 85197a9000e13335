#pragma once

#include <QDialog>

namespace trelvanox {

// A dialog shown beside the main window without blocking it: created once at start-up with the
// main window as parent, hidden by its close box, kept with its state for the whole run.
class TModelessDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TModelessDialog(QWidget* parent = nullptr) : QDialog(parent) { setModal(false); }

    // Shows the dialog and brings it to the front.
    void ShowModeless() {
        show();
        raise();
        activateWindow();
    }
};

}  // namespace trelvanox
