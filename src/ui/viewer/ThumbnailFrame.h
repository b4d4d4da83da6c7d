#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QSizeF>

// The rounded frame the big image and everything over it are clipped to.
namespace ThumbnailFrame {

inline constexpr double cornerRadius = 7;
inline constexpr double aspectRatio = 1.6;  // width to height

inline QPainterPath clipPath(const QSizeF &size)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), size), cornerRadius, cornerRadius);
    return path;
}

}  // namespace ThumbnailFrame
