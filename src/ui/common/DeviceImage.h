#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>

class QPainter;

// A capture drawn one image pixel per device pixel. Scaling to the logical
// size would let the painter enlarge the result again on a HiDPI screen and
// blur it; this scales the source once to the drawn size in device pixels
// (again only when the source, the size or the ratio changes) and places it
// on whole device pixels.
class DeviceImage
{
public:
    // Draws source stretched over target, in the painter's logical coordinates.
    void draw(QPainter &painter, const QRectF &target, const QImage &source);

    // target's edges rounded to the nearest device pixel, in device pixels.
    static QRect snapped(const QRectF &target, qreal ratio);

private:
    QImage m_scaled;  // carries the ratio it was made for
    qint64 m_sourceKey = 0;
};
