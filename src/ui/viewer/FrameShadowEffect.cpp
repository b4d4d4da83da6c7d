#include "viewer/FrameShadowEffect.h"

#include "common/Style.h"

#include <QPaintDevice>
#include <QPainter>

namespace {

constexpr double radius = 8;
const QPointF offset(0, 4);

}  // namespace

FrameShadowEffect::FrameShadowEffect(std::function<QPainterPath()> shape, QObject *parent)
    : QGraphicsEffect(parent)
    , m_shape(std::move(shape))
{
}

QRectF FrameShadowEffect::boundingRectFor(const QRectF &rect) const
{
    return rect.adjusted(-radius - 2, -radius - 2 + offset.y(), radius + 2, radius + 2 + offset.y())
        .united(rect);
}

void FrameShadowEffect::invalidateShape()
{
    m_valid = false;
    update();
}

void FrameShadowEffect::draw(QPainter *painter)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    if (!m_valid || ratio != m_ratio) {
        m_cached = Shadow::render(m_shape(), Style::withAlpha(Qt::black, 0.12), radius, ratio);
        m_valid = true;
        m_ratio = ratio;
    }
    Shadow::draw(*painter, m_cached, offset);
    drawSource(painter);
}
