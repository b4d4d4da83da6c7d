#include "viewer/QRHighlightBox.h"

#include "common/Style.h"

#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>

QRHighlightBox::QRHighlightBox(const QRectF &rect, double cornerLen, double lineW)
    : m_rect(rect)
    , m_cornerLen(cornerLen)
    , m_lineW(lineW)
{
}

QPainterPath QRHighlightBox::brackets() const
{
    const double w = m_rect.width();
    const double h = m_rect.height();
    const double c = std::min({0.3 * w, m_cornerLen, 0.3 * h});
    const QPointF o = m_rect.topLeft();
    QPainterPath path;
    const auto corner = [&](QPointF a, QPointF b, QPointF z) {
        path.moveTo(o + a);
        path.lineTo(o + b);
        path.lineTo(o + z);
    };
    corner({0, c}, {0, 0}, {c, 0});
    corner({w - c, 0}, {w, 0}, {w, c});
    corner({w, h - c}, {w, h}, {w - c, h});
    corner({c, h}, {0, h}, {0, h - c});
    return path;
}

void QRHighlightBox::paint(QPainter &painter, qreal devicePixelRatio)
{
    const QColor green = Style::systemGreen();
    painter.fillRect(m_rect, Style::withAlpha(green, 0.12));
    QPen pen(green, m_lineW, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setMiterLimit(10);
    const QPainterPath path = brackets();
    if (m_glowRatio != devicePixelRatio) {
        QPainterPathStroker stroker(pen);
        m_glow = Shadow::render(stroker.createStroke(path), Style::withAlpha(green, 0.8), 4, devicePixelRatio);
        m_glowRatio = devicePixelRatio;
    }
    Shadow::draw(painter, m_glow);
    painter.strokePath(path, pen);
}
