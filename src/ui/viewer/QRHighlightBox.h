#pragma once

#include "common/Shadow.h"

#include <QPainterPath>
#include <QRectF>

class QPainter;

// The marker around one detected code: a faint green fill and four green
// corner brackets with a green glow. Keeps its glow rendered, since the
// overlay repaints it on every step of its animations.
class QRHighlightBox
{
public:
    QRHighlightBox(const QRectF &rect, double cornerLen = 10, double lineW = 2.5);

    QRectF rect() const { return m_rect; }
    void paint(QPainter &painter, qreal devicePixelRatio);

private:
    QPainterPath brackets() const;

    QRectF m_rect;
    double m_cornerLen;
    double m_lineW;
    Shadow::Rendered m_glow;
    qreal m_glowRatio = 0;
};
