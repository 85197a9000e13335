#pragma once

#include "widgets/modeless_dialog.h"

namespace trelvanox {

// The label colour index map dialog. Modeless; created once at start-up with the main window as
// parent and kept for the whole run, so its choices last until the program ends.
class TFmColorOptions : public TModelessDialog {
    Q_OBJECT
  public:
    explicit TFmColorOptions(QWidget* parent = nullptr);
};

}  // namespace trelvanox
