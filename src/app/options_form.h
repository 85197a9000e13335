#pragma once

#include "widgets/modeless_dialog.h"

class QTabWidget;

namespace trelvanox {

// The options dialog: four pages of settings. Modeless; created once at start-up with the main
// window as parent and kept for the whole run; closing it only hides it, so every control keeps
// its state until the program ends.
class TFmOptions : public TModelessDialog {
    Q_OBJECT
  public:
    enum TPage { PageGeneral, PageReadTable, PageImportTable, PageEditing, PageCount };

    explicit TFmOptions(QWidget* parent = nullptr);

    // Shows the dialog as ShowModeless does, then selects the page (a TPage).
    void ShowPage(int page);

    QTabWidget* Pages() const { return pages_; }

  private:
    QTabWidget* pages_;
};

}  // namespace trelvanox
