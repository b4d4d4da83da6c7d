#include "shell/HoverPanelGeometry.h"

#include <algorithm>

namespace HoverPanelGeometry {

double imageHeight(const QSize &thumbnail)
{
    if (thumbnail.isEmpty())
        return maxImageHeight;
    const double scaled = double(thumbnail.height()) / double(thumbnail.width()) * width;
    return std::min(scaled, maxImageHeight);
}

double panelHeight(const QSize &thumbnail)
{
    return imageHeight(thumbnail) + padding + textHeight + padding;
}

QRectF frame(const QRectF &icon, double height, const QRectF &screen)
{
    QRectF panel(icon.center().x() - width / 2, icon.bottom() + gapBelowIcon, width, height);
    if (panel.bottom() > screen.bottom() && icon.top() - gapBelowIcon - height >= screen.top())
        panel.moveBottom(icon.top() - gapBelowIcon);
    if (panel.right() > screen.right())
        panel.moveRight(screen.right());
    if (panel.left() < screen.left())
        panel.moveLeft(screen.left());
    return panel;
}

}  // namespace HoverPanelGeometry
