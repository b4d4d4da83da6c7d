#include "shell/PopoverPlacement.h"

#include <algorithm>

namespace PopoverPlacement {

namespace {

QPoint clamped(QPoint point, const QSize &size, const QRect &available)
{
    point.setX(std::clamp(point.x(), available.left(), std::max(available.left(), available.right() + 1 - size.width())));
    point.setY(std::clamp(point.y(), available.top(), std::max(available.top(), available.bottom() + 1 - size.height())));
    return point;
}

QPoint underIcon(const QSize &size, const QRect &icon, const QRect &available)
{
    QPoint point(icon.center().x() + 1 - size.width() / 2, icon.bottom() + 1 + gapBelowIcon);
    // A tray at the bottom of the screen: open upward.
    if (point.y() + size.height() > available.bottom() + 1)
        point.setY(icon.top() - gapBelowIcon - size.height());
    return point;
}

}  // namespace

QPoint topLeft(const QSize &size, const std::optional<QRect> &icon, const std::optional<QPoint> &pointer,
               const QRect &available)
{
    if (icon && icon->isValid())
        return clamped(underIcon(size, *icon, available), size, available);
    if (pointer)
        return clamped(QPoint(pointer->x() - size.width() / 2, pointer->y()), size, available);
    return QPoint(available.right() + 1 - size.width(), available.top());
}

QPoint dropDownTopLeft(const QSize &size, const QRect &icon, const QRect &available)
{
    QPoint point(icon.left(), icon.bottom() + 1);
    if (point.y() + size.height() > available.bottom() + 1)
        point.setY(icon.top() - size.height());
    return clamped(point, size, available);
}

}  // namespace PopoverPlacement
