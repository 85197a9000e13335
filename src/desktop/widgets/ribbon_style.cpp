#include "desktop/widgets/ribbon_style.h"

#include <QStyleOption>
#include <span>
#include <utility>

namespace trelvanox {

namespace {

using TColour = std::pair<const char*, const char*>;  // name, style sheet value

// One template for all styles; ${name} stands for a colour of the style.
constexpr const char* kTemplate = R"(
trelvanox--TRibbon { background: ${panel}; }
QWidget#ribbonHead { background: ${head}; }
QLabel#ribbonCaption { color: ${caption}; background: transparent; }

QTabBar#ribbonTabBar { background: transparent; }
QTabBar#ribbonTabBar::tab {
    color: ${tabText}; background: transparent;
    border: 1px solid transparent; border-bottom: none;
    border-top-left-radius: 3px; border-top-right-radius: 3px;
    margin-top: 3px; margin-right: 1px; padding: 0px 13px; height: 20px;
}
QTabBar#ribbonTabBar::tab:hover:!selected { background: ${tabHover}; border-color: ${tabHoverBorder}; }
QTabBar#ribbonTabBar::tab:selected { color: ${tabSelectedText}; background: ${tabSelected}; border-color: ${tabBorder}; }

QStackedWidget#ribbonPanel { background: ${panel}; border-bottom: 1px solid ${panelEdge}; }
trelvanox--TRibbonGroup { background: ${group}; border: 1px solid ${groupBorder}; border-radius: 3px; }
QLabel#ribbonGroupCaption { color: ${groupCaption}; background: transparent; }
QFrame#ribbonSeparator { color: ${separator}; background: transparent; }

QToolButton { color: ${text}; background: transparent; border: 1px solid transparent; border-radius: 3px; padding: 1px 2px; }
QToolButton#ribbonLargeButton { padding: 2px 3px 1px 3px; }
QToolButton:hover { background: ${hover}; border-color: ${hoverBorder}; }
QToolButton:pressed, QToolButton:checked { background: ${pressed}; border-color: ${pressedBorder}; }
QToolButton:disabled { color: ${disabledText}; }
QToolButton#ribbonLauncher { color: ${groupCaption}; padding: 0px; border-radius: 2px; }
QToolButton#ribbonApplicationButton {
    background: ${accent}; border: 1px solid ${accentBorder}; border-radius: 3px; padding: 0px;
}
QToolButton#ribbonApplicationButton:hover { background: ${accentHover}; }
QToolButton#ribbonApplicationButton:pressed { background: ${accentBorder}; }
QToolButton#ribbonHelpButton {
    color: #ffffff; background: ${accent}; border: 1px solid ${accentBorder}; border-radius: 8px;
    padding: 0px; font-weight: bold;
}
QToolButton#ribbonHelpButton:hover { background: ${accentHover}; }

QToolBar { background: transparent; border: none; padding: 0px; spacing: 0px; }
QToolBar::separator { background: ${headSeparator}; width: 1px; margin: 5px 3px; }
QToolBar QToolButton { padding: 2px; }
QToolBar QToolButton:hover { background: ${headHover}; border-color: ${headHoverBorder}; }
QToolBar QToolButton:pressed { background: ${headPressed}; border-color: ${headHoverBorder}; }

QLabel { color: ${text}; background: transparent; }
QCheckBox, QRadioButton { color: ${text}; }
QLineEdit, QComboBox {
    color: ${editText}; background: ${edit}; border: 1px solid ${editBorder}; border-radius: 2px;
    padding: 1px 3px; selection-background-color: ${accent}; selection-color: #ffffff;
}
QLineEdit:hover, QComboBox:hover { border-color: ${hoverBorder}; }
QLineEdit:focus, QComboBox:focus { border-color: ${accent}; }
QComboBox QAbstractItemView {
    color: ${editText}; background: ${edit}; border: 1px solid ${editBorder};
    selection-background-color: ${accent}; selection-color: #ffffff;
}

QMenu { color: ${menuText}; background: ${menu}; border: 1px solid ${menuBorder}; padding: 3px; }
QMenu::item { padding: 5px 28px 5px 30px; border: 1px solid transparent; border-radius: 2px; }
QMenu::item:selected { background: ${hover}; border-color: ${hoverBorder}; color: ${text}; }
QMenu::item:disabled { color: ${disabledText}; }
QMenu::icon { padding-left: 6px; }
QMenu::separator { height: 1px; background: ${separator}; margin: 3px 6px; }

QToolTip {
    color: #3c3c3c; border: 1px solid #8d9299; padding: 3px 4px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e4e8ee);
}
)";

// Soft grey and black tones: a dark head above a mid-grey panel.
constexpr TColour kObsidian[] = {
    {"head", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #363636, stop:1 #272727)"},
    {"caption", "#e6e6e6"},
    {"headSeparator", "#555555"},
    {"headHover", "#474747"},
    {"headHoverBorder", "#5c5c5c"},
    {"headPressed", "#202020"},
    {"tabText", "#d2d2d2"},
    {"tabHover", "#3b3b3b"},
    {"tabHoverBorder", "#4a4a4a"},
    {"tabSelected", "#4a4a4a"},
    {"tabSelectedText", "#ffffff"},
    {"tabBorder", "#5f5f5f"},
    {"panel", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4a4a4a, stop:1 #3c3c3c)"},
    {"panelEdge", "#1b1b1b"},
    {"group", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #505050, stop:1 #444444)"},
    {"groupBorder", "#5e5e5e"},
    {"groupCaption", "#c4c4c4"},
    {"separator", "#666666"},
    {"text", "#f2f2f2"},
    {"disabledText", "#8c8c8c"},
    {"hover", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #6c6c6c, stop:1 #5a5a5a)"},
    {"hoverBorder", "#808080"},
    {"pressed", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #2c2c2c, stop:1 #383838)"},
    {"pressedBorder", "#6e6e6e"},
    {"edit", "#323232"},
    {"editText", "#f0f0f0"},
    {"editBorder", "#666666"},
    {"accent", "#2f6db5"},
    {"accentBorder", "#1f4f87"},
    {"accentHover", "#3c80cf"},
    {"menu", "#3a3a3a"},
    {"menuText", "#f0f0f0"},
    {"menuBorder", "#1b1b1b"},
};

// Silver-grey: light neutral panels with steel-blue highlights.
constexpr TColour kSilver[] = {
    {"head", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f3f4f6, stop:1 #dfe2e6)"},
    {"caption", "#3a3d42"},
    {"headSeparator", "#b9bec5"},
    {"headHover", "#e9edf2"},
    {"headHoverBorder", "#a9b5c3"},
    {"headPressed", "#cdd6e0"},
    {"tabText", "#3d4046"},
    {"tabHover", "#eef0f3"},
    {"tabHoverBorder", "#c6cbd2"},
    {"tabSelected", "#fbfbfc"},
    {"tabSelectedText", "#1c1e21"},
    {"tabBorder", "#b3b9c1"},
    {"panel", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfbfc, stop:1 #e9ebee)"},
    {"panelEdge", "#a9afb8"},
    {"group", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fdfdfe, stop:1 #eef0f2)"},
    {"groupBorder", "#c8cdd4"},
    {"groupCaption", "#5b6068"},
    {"separator", "#c8cdd4"},
    {"text", "#1f2125"},
    {"disabledText", "#9a9ea5"},
    {"hover", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #eef3f8, stop:1 #d6e1ec)"},
    {"hoverBorder", "#9db1c7"},
    {"pressed", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #bfcedf, stop:1 #cfdae6)"},
    {"pressedBorder", "#7e96b1"},
    {"edit", "#ffffff"},
    {"editText", "#1c1e21"},
    {"editBorder", "#b3b9c1"},
    {"accent", "#55779f"},
    {"accentBorder", "#3f5d80"},
    {"accentHover", "#6688b0"},
    {"menu", "#fbfbfc"},
    {"menuText", "#1c1e21"},
    {"menuBorder", "#9ea5ae"},
};

// Blue: pale blue panels, dark blue text and the warm amber highlight of the classic ribbon.
constexpr TColour kLuna[] = {
    {"head", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e1ecf9, stop:1 #c4d9f2)"},
    {"caption", "#15428b"},
    {"headSeparator", "#9dbbe2"},
    {"headHover", "#fff1c4"},
    {"headHoverBorder", "#e3b659"},
    {"headPressed", "#fbc46a"},
    {"tabText", "#15428b"},
    {"tabHover", "#e6effa"},
    {"tabHoverBorder", "#a7c3e8"},
    {"tabSelected", "#eef4fc"},
    {"tabSelectedText", "#0f3674"},
    {"tabBorder", "#8db2e3"},
    {"panel", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #eef4fc, stop:1 #d3e3f6)"},
    {"panelEdge", "#7fa6d9"},
    {"group", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f5f9fe, stop:1 #dde9f8)"},
    {"groupBorder", "#a4c2e8"},
    {"groupCaption", "#3e68a6"},
    {"separator", "#aac5e7"},
    {"text", "#15316b"},
    {"disabledText", "#8ea3c2"},
    {"hover", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fff7da, stop:1 #ffe08f)"},
    {"hoverBorder", "#e3b659"},
    {"pressed", "qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fcc97a, stop:1 #fbb04b)"},
    {"pressedBorder", "#c28a2e"},
    {"edit", "#ffffff"},
    {"editText", "#15316b"},
    {"editBorder", "#8db2e3"},
    {"accent", "#2a62b8"},
    {"accentBorder", "#194a91"},
    {"accentHover", "#3b77d2"},
    {"menu", "#f7faff"},
    {"menuText", "#15316b"},
    {"menuBorder", "#7fa6d9"},
};

std::span<const TColour> Colours(TRibbonStyle style) {
    switch (style) {
        case TRibbonStyle::Silver:
            return kSilver;
        case TRibbonStyle::Luna:
            return kLuna;
        case TRibbonStyle::Obsidian:
            break;
    }
    return kObsidian;
}

QString Fill(std::span<const TColour> colours) {
    QString sheet = QString::fromLatin1(kTemplate);
    for (const auto& [name, value] : colours)
        sheet.replace(QStringLiteral("${%1}").arg(QLatin1String(name)), QLatin1String(value));
    return sheet;
}

}  // namespace

QString RibbonStyleSheet(TRibbonStyle style) {
    return Fill(Colours(style));
}

void TRibbonBaseStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                     QPainter* painter, const QWidget* widget) const {
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (button && (element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton)) {
        QStyleOptionButton mark(*button);
        mark.palette.setColor(QPalette::Text, QColor(0x20, 0x20, 0x20));
        mark.palette.setColor(QPalette::Base, Qt::white);
        QProxyStyle::drawPrimitive(element, &mark, painter, widget);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

}  // namespace trelvanox
