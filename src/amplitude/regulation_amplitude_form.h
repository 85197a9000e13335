#pragma once

#include <QDialog>

namespace trelvanox {

// The amplitude regulation dialog. Modeless, with a fixed frame; created once at start-up with
// the main window as parent and kept for the whole run.
class TFmRegulationAmplitude : public QDialog {
    Q_OBJECT
  public:
    explicit TFmRegulationAmplitude(QWidget* parent = nullptr);

    // Shows the dialog beside the main window and brings it to the front.
    void ShowModeless();
};

}  // namespace trelvanox
