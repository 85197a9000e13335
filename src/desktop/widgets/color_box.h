#pragma once

#include <QColor>
#include <QComboBox>
#include <QFlags>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QPalette;

namespace trelvanox {

// Colour values as the file and the colour boxes hold them: 0x00BBGGRR for a plain colour;
// 0x80000000 plus a system colour index for a colour of the desktop's scheme; and two marks
// for "no colour" and "the control's own colour".
namespace color_value {
inline constexpr std::uint32_t kSystemFlag = 0x80000000u;
inline constexpr std::uint32_t kNone = 0x1FFFFFFFu;
inline constexpr std::uint32_t kDefault = 0x20000000u;

inline constexpr std::uint32_t Rgb(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red & 0xFF) | static_cast<std::uint32_t>(green & 0xFF) << 8 |
           static_cast<std::uint32_t>(blue & 0xFF) << 16;
}
}  // namespace color_value

// The colour a value stands for on this system: a system colour from the palette, kDefault as
// the palette's base colour, kNone (and an unknown system colour) as an invalid QColor, any
// other value by its low three bytes.
QColor ColorValueToQColor(std::uint32_t value, const QPalette& palette);
// The plain value 0x00BBGGRR of a colour; alpha is dropped.
std::uint32_t QColorToColorValue(const QColor& color);

// A drop-down list of named colours, each entry a swatch and its Russian name ("Чёрный",
// "Небесно-голубой", "Поверхность кнопки", ...; a system colour is named by what it colours).
// Which groups it lists is set by its options; the selection is read and set as a colour value,
// so the names never reach a file.
//
// The list runs: "Другой..." (option CustomColor), the 16 standard colours, the 4 extended
// colours, the system colours, "Нет" (IncludeNone), "По умолчанию" (IncludeDefault). Choosing
// "Другой..." opens a colour dialog; the colour chosen there becomes that entry's colour, a
// cancelled dialog returns to the entry selected before.
class TColorBox : public QComboBox {
    Q_OBJECT
  public:
    enum TOption {
        StandardColors = 0x01,
        ExtendedColors = 0x02,
        SystemColors = 0x04,
        IncludeNone = 0x08,
        IncludeDefault = 0x10,
        CustomColor = 0x20,
    };
    Q_DECLARE_FLAGS(TOptions, TOption)

    // The colour dialog: the colour shown at its start and the dialog's owner in; the chosen
    // colour out, nothing when the user cancelled.
    using TColorDialog =
        std::function<std::optional<QColor>(const QColor& initial, QWidget* owner)>;

    // Lists the standard, extended and system colours, with the first entry selected.
    explicit TColorBox(QWidget* parent = nullptr);
    explicit TColorBox(TOptions options, QWidget* parent = nullptr);

    TOptions Options() const { return options_; }
    // Refills the list; the selected value stays selected when the new list can show it.
    void SetOptions(TOptions options);

    // The colour value of the selected entry; 0 (black) when nothing is selected.
    std::uint32_t Selected() const;
    // Selects the first named entry of value; failing that, with CustomColor, the custom entry
    // holding value. Returns false, leaving the selection as it was, when the list cannot show
    // value.
    bool SetSelected(std::uint32_t value);
    // The selected colour as drawn on this system (see ColorValueToQColor).
    QColor SelectedColor() const;

    // Value and name of entry index; the custom entry's value is its colour of the moment.
    std::uint32_t ColorValue(int index) const;
    QString ColorName(int index) const { return itemText(index); }
    // Index of the custom entry, -1 without CustomColor.
    int CustomIndex() const;

    // Replaces the platform's colour dialog (tests script it); an empty function restores it.
    void SetColorDialog(TColorDialog dialog) { dialog_ = std::move(dialog); }

  private:
    void Fill();
    void AddEntry(const QString& name, std::uint32_t value);
    void SetCustomValue(std::uint32_t value);
    void EntryActivated(int index);
    void PickCustomColor();

    TOptions options_;
    TColorDialog dialog_;
    int settledIndex_ = -1;  // the entry to go back to when the custom dialog is cancelled
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TColorBox::TOptions)

}  // namespace trelvanox
