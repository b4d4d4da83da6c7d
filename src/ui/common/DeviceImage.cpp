#include "common/DeviceImage.h"

#include <QPainter>

#include <cmath>

QRect DeviceImage::snapped(const QRectF &target, qreal ratio)
{
    const auto edge = [ratio](qreal at) { return int(std::lround(at * ratio)); };
    const QPoint topLeft(edge(target.left()), edge(target.top()));
    return QRect(topLeft, QSize(edge(target.right()) - topLeft.x(), edge(target.bottom()) - topLeft.y()));
}

void DeviceImage::draw(QPainter &painter, const QRectF &target, const QImage &source)
{
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QRect device = snapped(target, ratio);
    if (source.isNull() || device.isEmpty())
        return;
    if (source.cacheKey() != m_sourceKey || m_scaled.size() != device.size() || m_scaled.devicePixelRatio() != ratio) {
        m_scaled = source.size() == device.size()
                       ? source
                       : source.scaled(device.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_scaled.setDevicePixelRatio(ratio);
        m_sourceKey = source.cacheKey();
    }
    painter.save();
    // One to one there is nothing to interpolate; only a scaling painter (an animation) still smooths.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, painter.worldTransform().type() > QTransform::TxTranslate);
    painter.drawImage(QPointF(device.topLeft()) / ratio, m_scaled);
    painter.restore();
}
