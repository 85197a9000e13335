#pragma once

#include "widgets/modeless_dialog.h"

namespace trelvanox {

// The label insertion dialog. Modeless; created once at start-up with the main window as parent
// and kept for the whole run, so its controls keep their state between showings.
class TFmInsertLabel : public TModelessDialog {
    Q_OBJECT
  public:
    explicit TFmInsertLabel(QWidget* parent = nullptr);
};

}  // namespace trelvanox
