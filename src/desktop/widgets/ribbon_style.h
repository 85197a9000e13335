#pragma once

#include <QProxyStyle>
#include <QString>

#include "desktop/widgets/ribbon.h"

namespace trelvanox {

// Pixel sizes of the ribbon's parts; the rows add up to the ribbon's height.
namespace ribbon_metrics {
inline constexpr int kTitleHeight = 26;
inline constexpr int kTabBarHeight = 24;
inline constexpr int kPanelHeight = 93;
inline constexpr int kRibbonHeight = kTitleHeight + kTabBarHeight + kPanelHeight;  // 143
inline constexpr int kRowHeight = 22;                                              // small item
inline constexpr int kStackRows = 3;
inline constexpr int kContentHeight = 68;  // a group's controls, above its caption
inline constexpr int kLargeIcon = 32;
inline constexpr int kSmallIcon = 16;
}  // namespace ribbon_metrics

// The style sheet of one colour style. It is set on the ribbon widget only, so it reaches the
// ribbon's own children (its buttons, the controls placed in it, its menu and tool tips) and
// nothing else of the window.
QString RibbonStyleSheet(TRibbonStyle style);

// The style under the ribbon's sheet (the application's style otherwise). The sheet gives check
// boxes and radio buttons the style's text colour, and a sheet colour paints their check marks
// too; this keeps the marks dark on their white boxes, readable on a dark style as well.
class TRibbonBaseStyle : public QProxyStyle {
  public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};

}  // namespace trelvanox
