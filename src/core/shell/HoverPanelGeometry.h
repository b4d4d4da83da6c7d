#pragma once

#include <QRectF>
#include <QSize>

// Size and place of the panel that previews the newest screenshot under the
// tray icon. Coordinates are screen pixels with y growing downward.
namespace HoverPanelGeometry {

constexpr double width = 220;
constexpr double maxImageHeight = 130;  // also used when there is no thumbnail
constexpr double padding = 10;
constexpr double textHeight = 36;  // name and details lines with their spacing
constexpr double gapBelowIcon = 4;

// The image scaled to the panel width, at most maxImageHeight high.
double imageHeight(const QSize &thumbnail);
double panelHeight(const QSize &thumbnail);
// Centred 4 below the icon. A tray at the bottom of the screen gets the panel
// above the icon instead, and the panel never leaves the screen sideways.
QRectF frame(const QRectF &icon, double height, const QRectF &screen);

}  // namespace HoverPanelGeometry
