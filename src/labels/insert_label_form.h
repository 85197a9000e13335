#pragma once

#include <QDialog>

namespace trelvanox {

// The label insertion dialog. Modeless; created once at start-up with the main window as parent
// and kept for the whole run, so its controls keep their state between showings.
class TFmInsertLabel : public QDialog {
    Q_OBJECT
  public:
    explicit TFmInsertLabel(QWidget* parent = nullptr);

    // Shows the dialog beside the main window and brings it to the front.
    void ShowModeless();
};

}  // namespace trelvanox
