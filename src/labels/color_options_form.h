#pragma once

#include <QDialog>

namespace trelvanox {

// The label colour index map dialog. Modeless; created once at start-up with the main window as
// parent and kept for the whole run, so its choices last until the program ends.
class TFmColorOptions : public QDialog {
    Q_OBJECT
  public:
    explicit TFmColorOptions(QWidget* parent = nullptr);

    // Shows the dialog beside the main window and brings it to the front.
    void ShowModeless();
};

}  // namespace trelvanox
