#include "desktop/widgets/color_box.h"

#include <QColorDialog>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <array>

namespace trelvanox {

namespace {

using color_value::Rgb;

struct TNamedColor {
    const char* name;
    std::uint32_t value;
};

constexpr std::array<TNamedColor, 16> kStandardColors{{
    {"clBlack", Rgb(0, 0, 0)},
    {"clMaroon", Rgb(128, 0, 0)},
    {"clGreen", Rgb(0, 128, 0)},
    {"clOlive", Rgb(128, 128, 0)},
    {"clNavy", Rgb(0, 0, 128)},
    {"clPurple", Rgb(128, 0, 128)},
    {"clTeal", Rgb(0, 128, 128)},
    {"clGray", Rgb(128, 128, 128)},
    {"clSilver", Rgb(192, 192, 192)},
    {"clRed", Rgb(255, 0, 0)},
    {"clLime", Rgb(0, 255, 0)},
    {"clYellow", Rgb(255, 255, 0)},
    {"clBlue", Rgb(0, 0, 255)},
    {"clFuchsia", Rgb(255, 0, 255)},
    {"clAqua", Rgb(0, 255, 255)},
    {"clWhite", Rgb(255, 255, 255)},
}};

constexpr std::array<TNamedColor, 4> kExtendedColors{{
    {"clMoneyGreen", Rgb(192, 220, 192)},
    {"clSkyBlue", Rgb(166, 202, 240)},
    {"clCream", Rgb(255, 251, 240)},
    {"clMedGray", Rgb(160, 160, 164)},
}};

// A system colour: its index in the desktop's colour scheme and the palette entry that plays
// its part here.
struct TSystemColor {
    const char* name;
    std::uint32_t index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr std::array<TSystemColor, 30> kSystemColors{{
    {"clScrollBar", 0, QPalette::Active, QPalette::Button},
    {"clBackground", 1, QPalette::Active, QPalette::Dark},
    {"clActiveCaption", 2, QPalette::Active, QPalette::Highlight},
    {"clInactiveCaption", 3, QPalette::Inactive, QPalette::Mid},
    {"clMenu", 4, QPalette::Active, QPalette::Window},
    {"clWindow", 5, QPalette::Active, QPalette::Base},
    {"clWindowFrame", 6, QPalette::Active, QPalette::Shadow},
    {"clMenuText", 7, QPalette::Active, QPalette::WindowText},
    {"clWindowText", 8, QPalette::Active, QPalette::Text},
    {"clCaptionText", 9, QPalette::Active, QPalette::HighlightedText},
    {"clActiveBorder", 10, QPalette::Active, QPalette::Window},
    {"clInactiveBorder", 11, QPalette::Inactive, QPalette::Window},
    {"clAppWorkSpace", 12, QPalette::Active, QPalette::Mid},
    {"clHighlight", 13, QPalette::Active, QPalette::Highlight},
    {"clHighlightText", 14, QPalette::Active, QPalette::HighlightedText},
    {"clBtnFace", 15, QPalette::Active, QPalette::Button},
    {"clBtnShadow", 16, QPalette::Active, QPalette::Dark},
    {"clGrayText", 17, QPalette::Disabled, QPalette::Text},
    {"clBtnText", 18, QPalette::Active, QPalette::ButtonText},
    {"clInactiveCaptionText", 19, QPalette::Inactive, QPalette::WindowText},
    {"clBtnHighlight", 20, QPalette::Active, QPalette::Light},
    {"cl3DDkShadow", 21, QPalette::Active, QPalette::Shadow},
    {"cl3DLight", 22, QPalette::Active, QPalette::Midlight},
    {"clInfoText", 23, QPalette::Active, QPalette::ToolTipText},
    {"clInfoBk", 24, QPalette::Active, QPalette::ToolTipBase},
    {"clHotLight", 26, QPalette::Active, QPalette::Link},
    {"clGradientActiveCaption", 27, QPalette::Active, QPalette::Highlight},
    {"clGradientInactiveCaption", 28, QPalette::Inactive, QPalette::Midlight},
    {"clMenuHighlight", 29, QPalette::Active, QPalette::Highlight},
    {"clMenuBar", 30, QPalette::Active, QPalette::Window},
}};

constexpr int kValueRole = Qt::UserRole;
constexpr int kSwatchSize = 16;

QIcon Swatch(const QColor& color, const QColor& frame) {
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    if (color.isValid()) painter.fillRect(pixmap.rect(), color);
    painter.setPen(frame);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

}  // namespace

QColor ColorValueToQColor(std::uint32_t value, const QPalette& palette) {
    if (value == color_value::kNone) return {};
    if (value == color_value::kDefault) return palette.color(QPalette::Active, QPalette::Base);
    if (value & color_value::kSystemFlag) {
        const std::uint32_t index = value & ~color_value::kSystemFlag;
        for (const TSystemColor& system : kSystemColors)
            if (system.index == index) return palette.color(system.group, system.role);
        return {};
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>(value >> 8 & 0xFF),
                  static_cast<int>(value >> 16 & 0xFF));
}

std::uint32_t QColorToColorValue(const QColor& color) {
    const QColor rgb = color.toRgb();
    return Rgb(rgb.red(), rgb.green(), rgb.blue());
}

TColorBox::TColorBox(QWidget* parent)
    : TColorBox(TOptions(StandardColors | ExtendedColors | SystemColors), parent) {}

TColorBox::TColorBox(TOptions options, QWidget* parent) : QComboBox(parent), options_(options) {
    setIconSize(QSize(kSwatchSize, kSwatchSize));
    // The entry the custom dialog falls back to is the last one chosen other than "Custom...";
    // the custom entry counts only once it holds a colour the user (or the program) gave it.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index != CustomIndex()) settledIndex_ = index;
    });
    connect(this, &QComboBox::activated, this, &TColorBox::EntryActivated);
    Fill();
    if (!SetSelected(Rgb(0, 0, 0))) setCurrentIndex(count() > 0 ? 0 : -1);
}

void TColorBox::SetOptions(TOptions options) {
    const bool hadSelection = currentIndex() >= 0;
    const std::uint32_t value = Selected();
    options_ = options;
    Fill();
    if (!hadSelection || !SetSelected(value)) setCurrentIndex(count() > 0 ? 0 : -1);
}

std::uint32_t TColorBox::Selected() const {
    return currentIndex() >= 0 ? ColorValue(currentIndex()) : 0;
}

bool TColorBox::SetSelected(std::uint32_t value) {
    const int custom = CustomIndex();
    for (int index = 0; index < count(); ++index) {
        if (index != custom && ColorValue(index) == value) {
            setCurrentIndex(index);
            return true;
        }
    }
    if (custom < 0) return false;
    SetCustomValue(value);
    setCurrentIndex(custom);
    settledIndex_ = custom;
    return true;
}

QColor TColorBox::SelectedColor() const {
    return ColorValueToQColor(Selected(), palette());
}

std::uint32_t TColorBox::ColorValue(int index) const {
    return itemData(index, kValueRole).value<quint32>();
}

int TColorBox::CustomIndex() const {
    return options_.testFlag(CustomColor) ? 0 : -1;
}

void TColorBox::Fill() {
    clear();
    settledIndex_ = -1;
    if (options_.testFlag(CustomColor)) AddEntry(QStringLiteral("Custom..."), Rgb(0, 0, 0));
    if (options_.testFlag(StandardColors))
        for (const TNamedColor& color : kStandardColors)
            AddEntry(QString::fromLatin1(color.name), color.value);
    if (options_.testFlag(ExtendedColors))
        for (const TNamedColor& color : kExtendedColors)
            AddEntry(QString::fromLatin1(color.name), color.value);
    if (options_.testFlag(SystemColors))
        for (const TSystemColor& color : kSystemColors)
            AddEntry(QString::fromLatin1(color.name), color_value::kSystemFlag | color.index);
    if (options_.testFlag(IncludeNone)) AddEntry(QStringLiteral("clNone"), color_value::kNone);
    if (options_.testFlag(IncludeDefault))
        AddEntry(QStringLiteral("clDefault"), color_value::kDefault);
}

void TColorBox::AddEntry(const QString& name, std::uint32_t value) {
    addItem(Swatch(ColorValueToQColor(value, palette()), palette().color(QPalette::Text)), name,
            QVariant::fromValue<quint32>(value));
}

void TColorBox::SetCustomValue(std::uint32_t value) {
    const int custom = CustomIndex();
    setItemData(custom, QVariant::fromValue<quint32>(value), kValueRole);
    setItemIcon(custom,
                Swatch(ColorValueToQColor(value, palette()), palette().color(QPalette::Text)));
}

void TColorBox::EntryActivated(int index) {
    if (index >= 0 && index == CustomIndex()) PickCustomColor();
}

void TColorBox::PickCustomColor() {
    const int custom = CustomIndex();
    const QColor initial = ColorValueToQColor(ColorValue(custom), palette());
    const std::optional<QColor> chosen =
        dialog_ ? dialog_(initial, this) : [&]() -> std::optional<QColor> {
        const QColor color = QColorDialog::getColor(initial, this);
        if (!color.isValid()) return std::nullopt;
        return color;
    }();
    if (chosen && chosen->isValid()) {
        SetCustomValue(QColorToColorValue(*chosen));
        settledIndex_ = custom;
    } else if (settledIndex_ != custom) {
        setCurrentIndex(settledIndex_);
    }
}

}  // namespace trelvanox
