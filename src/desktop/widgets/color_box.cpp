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

// Names are UTF-8, shown as they stand; only the values are ever stored.
struct TNamedColor {
    const char* name;
    std::uint32_t value;
};

constexpr std::array<TNamedColor, 16> kStandardColors{{
    {"Чёрный", Rgb(0, 0, 0)},
    {"Бордовый", Rgb(128, 0, 0)},
    {"Зелёный", Rgb(0, 128, 0)},
    {"Оливковый", Rgb(128, 128, 0)},
    {"Тёмно-синий", Rgb(0, 0, 128)},
    {"Фиолетовый", Rgb(128, 0, 128)},
    {"Тёмно-бирюзовый", Rgb(0, 128, 128)},
    {"Серый", Rgb(128, 128, 128)},
    {"Серебристый", Rgb(192, 192, 192)},
    {"Красный", Rgb(255, 0, 0)},
    {"Лайм", Rgb(0, 255, 0)},
    {"Жёлтый", Rgb(255, 255, 0)},
    {"Синий", Rgb(0, 0, 255)},
    {"Фуксия", Rgb(255, 0, 255)},
    {"Бирюзовый", Rgb(0, 255, 255)},
    {"Белый", Rgb(255, 255, 255)},
}};

constexpr std::array<TNamedColor, 4> kExtendedColors{{
    {"Бледно-зелёный", Rgb(192, 220, 192)},
    {"Небесно-голубой", Rgb(166, 202, 240)},
    {"Кремовый", Rgb(255, 251, 240)},
    {"Средне-серый", Rgb(160, 160, 164)},
}};

// A system colour, named by what it colours: its index in the desktop's colour scheme and the
// palette entry that plays its part here.
struct TSystemColor {
    const char* name;
    std::uint32_t index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr std::array<TSystemColor, 30> kSystemColors{{
    {"Полоса прокрутки", 0, QPalette::Active, QPalette::Button},
    {"Рабочий стол", 1, QPalette::Active, QPalette::Dark},
    {"Заголовок активного окна", 2, QPalette::Active, QPalette::Highlight},
    {"Заголовок неактивного окна", 3, QPalette::Inactive, QPalette::Mid},
    {"Фон меню", 4, QPalette::Active, QPalette::Window},
    {"Фон окна", 5, QPalette::Active, QPalette::Base},
    {"Рамка окна", 6, QPalette::Active, QPalette::Shadow},
    {"Текст меню", 7, QPalette::Active, QPalette::WindowText},
    {"Текст окна", 8, QPalette::Active, QPalette::Text},
    {"Текст заголовка активного окна", 9, QPalette::Active, QPalette::HighlightedText},
    {"Граница активного окна", 10, QPalette::Active, QPalette::Window},
    {"Граница неактивного окна", 11, QPalette::Inactive, QPalette::Window},
    {"Рабочая область программы", 12, QPalette::Active, QPalette::Mid},
    {"Выделение", 13, QPalette::Active, QPalette::Highlight},
    {"Выделенный текст", 14, QPalette::Active, QPalette::HighlightedText},
    {"Поверхность кнопки", 15, QPalette::Active, QPalette::Button},
    {"Тень кнопки", 16, QPalette::Active, QPalette::Dark},
    {"Недоступный текст", 17, QPalette::Disabled, QPalette::Text},
    {"Текст кнопки", 18, QPalette::Active, QPalette::ButtonText},
    {"Текст заголовка неактивного окна", 19, QPalette::Inactive, QPalette::WindowText},
    {"Светлый край кнопки", 20, QPalette::Active, QPalette::Light},
    {"Тёмная тень объёмных элементов", 21, QPalette::Active, QPalette::Shadow},
    {"Светлый край объёмных элементов", 22, QPalette::Active, QPalette::Midlight},
    {"Текст подсказки", 23, QPalette::Active, QPalette::ToolTipText},
    {"Фон подсказки", 24, QPalette::Active, QPalette::ToolTipBase},
    {"Ссылка", 26, QPalette::Active, QPalette::Link},
    {"Градиент заголовка активного окна", 27, QPalette::Active, QPalette::Highlight},
    {"Градиент заголовка неактивного окна", 28, QPalette::Inactive, QPalette::Midlight},
    {"Выделение в меню", 29, QPalette::Active, QPalette::Highlight},
    {"Строка меню", 30, QPalette::Active, QPalette::Window},
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
    // The entry the custom dialog falls back to is the last one chosen other than "Другой...";
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
    if (options_.testFlag(CustomColor)) AddEntry(QStringLiteral("Другой..."), Rgb(0, 0, 0));
    if (options_.testFlag(StandardColors))
        for (const TNamedColor& color : kStandardColors)
            AddEntry(QString::fromUtf8(color.name), color.value);
    if (options_.testFlag(ExtendedColors))
        for (const TNamedColor& color : kExtendedColors)
            AddEntry(QString::fromUtf8(color.name), color.value);
    if (options_.testFlag(SystemColors))
        for (const TSystemColor& color : kSystemColors)
            AddEntry(QString::fromUtf8(color.name), color_value::kSystemFlag | color.index);
    if (options_.testFlag(IncludeNone)) AddEntry(QStringLiteral("Нет"), color_value::kNone);
    if (options_.testFlag(IncludeDefault))
        AddEntry(QStringLiteral("По умолчанию"), color_value::kDefault);
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
