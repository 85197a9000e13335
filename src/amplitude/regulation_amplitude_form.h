#pragma once

#include "widgets/modeless_dialog.h"

namespace trelvanox {

// The amplitude regulation dialog. Modeless, with a fixed frame; created once at start-up with
// the main window as parent and kept for the whole run.
class TFmRegulationAmplitude : public TModelessDialog {
    Q_OBJECT
  public:
    explicit TFmRegulationAmplitude(QWidget* parent = nullptr);
};

}  // namespace trelvanox
