#pragma once

#include "common/Shadow.h"

#include <QGraphicsEffect>
#include <QPainterPath>

#include <functional>

// The soft shadow under the big image. Unlike a drop-shadow effect it does
// not render the widget and its children into a pixmap on every repaint: it
// blurs the given shape once per size and draws the widget directly over it.
class FrameShadowEffect : public QGraphicsEffect
{
    Q_OBJECT
public:
    explicit FrameShadowEffect(std::function<QPainterPath()> shape, QObject *parent = nullptr);

    QRectF boundingRectFor(const QRectF &rect) const override;
    // The shape changed (new image, new size).
    void invalidateShape();

protected:
    void draw(QPainter *painter) override;

private:
    std::function<QPainterPath()> m_shape;
    Shadow::Rendered m_cached;
    bool m_valid = false;
    qreal m_ratio = 0;
};
