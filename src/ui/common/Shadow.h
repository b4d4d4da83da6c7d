#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>

class QPainter;

// Soft shadows and glows: a shape's silhouette blurred over a radius and
// tinted, drawn under the shape. Rendering blurs on the CPU, so callers that
// repaint often keep the rendered image and redraw it.
namespace Shadow {

struct Rendered {
    QImage image;     // carries the device pixel ratio it was made for
    QPointF topLeft;  // where the image goes, in the shape's coordinates
};

Rendered render(const QPainterPath &shape, const QColor &color, double radius, qreal devicePixelRatio = 1.0);
void draw(QPainter &painter, const Rendered &shadow, const QPointF &offset = {});
// Renders and draws at once, for shapes drawn rarely.
void draw(QPainter &painter, const QPainterPath &shape, const QColor &color, double radius,
          const QPointF &offset = {});

}  // namespace Shadow
