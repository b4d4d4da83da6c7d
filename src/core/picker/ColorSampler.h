#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>

#include <optional>

// The exact image pixel under a point of the view, for an image drawn
// stretched into imageRect. The far edges belong to the next rectangle, so a
// point on them samples nothing.
namespace ColorSampler {

// The pixel's column and row, or none outside the rectangle.
std::optional<QPoint> pixelAt(const QPointF &point, const QRectF &imageRect, const QSize &imageSize);
// The colour there, un-premultiplied and opaque; a fully transparent pixel
// reads as black.
std::optional<QColor> sample(const QPointF &point, const QRectF &imageRect, const QImage &image);

}  // namespace ColorSampler
