#pragma once

#include <array>

#include "desktop/widgets/modeless_dialog.h"
#include "labels/label_write_back.h"

class QPushButton;

namespace trelvanox {

class TColorBox;

// The label colour index map dialog. Modeless; created once at start-up with the main window as
// parent and kept for the whole run, so its choices last until the program ends.
class TFmColorOptions : public TModelessDialog {
    Q_OBJECT
  public:
    explicit TFmColorOptions(QWidget* parent = nullptr);

    // The colour of each index 1 to 14 as currently chosen, for the label write-back.
    TColourMap ColourMap() const;
    // ColorBox1 to ColorBox14, for index 1 to 14.
    TColorBox* ColorBox(int index) const { return colorBoxes_.at(index - 1); }
    QPushButton* btnOKColorSettings() const { return btnOKColorSettings_; }

    // "OK": closes the dialog; the choices stay.
    void btnOKColorSettingsClick();

  private:
    std::array<TColorBox*, 14> colorBoxes_{};
    QPushButton* btnOKColorSettings_ = nullptr;
};

}  // namespace trelvanox
