#pragma once

#include <QDialog>
#include <optional>

#include "labels/label_write_back.h"

class QButtonGroup;
class QLineEdit;
class QLabel;

namespace trelvanox {

// The small editor of a label's text and colour that the view opens beside a label: the text,
// the fourteen colours of the colour map as swatches, and any other colour as its value (decimal,
// as the label table shows it, or 0xBBGGRR) or from the colour dialog. It only collects; the
// view makes the edit when it is accepted.
class TLabelEditorPopup : public QDialog {
    Q_OBJECT
  public:
    explicit TLabelEditorPopup(QWidget* parent = nullptr);

    // Fills the editor and opens it without blocking.
    void Start(const QString& title, const QString& text, std::uint32_t color,
               const TColourMap& colours);

    QLineEdit* txtLabelText() const { return txtText_; }
    QLineEdit* txtLabelColor() const { return txtColor_; }
    QString LabelText() const;
    // The colour value typed or chosen, or nothing when the field holds none.
    std::optional<std::uint32_t> Color() const;

  private:
    void ShowColor(std::uint32_t color);

    QLabel* lblTitle_ = nullptr;
    QLineEdit* txtText_ = nullptr;
    QLineEdit* txtColor_ = nullptr;
    QButtonGroup* swatches_ = nullptr;
    TColourMap colours_ = kStartColourMap;
};

// A colour value as the label table shows it (decimal) or as 0xBBGGRR; nothing for other text.
std::optional<std::uint32_t> ParseColorValue(const QString& text);

}  // namespace trelvanox
