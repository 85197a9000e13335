#pragma once

#include <QString>

class QWidget;

#include "widgets/ribbon.h"

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

// Check boxes and radio buttons at or under root get the style's text colour through their own
// palette: a sheet colour would paint their check marks as well, unreadable on the white box of
// a dark style, and the sheet-styled panels between them and the ribbon stop palette inheritance.
void TintCheckBoxes(QWidget* root, TRibbonStyle style);


}  // namespace trelvanox
