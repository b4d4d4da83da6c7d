#pragma once

#include "annotation/Annotation.h"

#include <QColor>
#include <QRectF>

class QPainter;

// Draws marks as the editor shows them: rounded rectangles, text wrapped at
// 600 pixels, arrow heads at least 14 pixels long. The export draws at the
// image's own scale instead (AnnotationExport).
namespace AnnotationPainter {

// One mark, turned by its rotation about the midpoint of start and end.
void draw(QPainter &painter, const Annotation &annotation, const QRectF &rect);
// The mark's shape between two view points, unrotated.
void renderShape(QPainter &painter, const Annotation &annotation, const QPointF &s, const QPointF &e);
// The dashed outline around a selected mark, unrotated.
void drawSelection(QPainter &painter, const Annotation &annotation, const QRectF &rect, const QColor &accent);

// Shared by the editor and the export: the arrow's shaft and both head
// lines as one path; L is the head lines' length.
void strokeArrow(QPainter &painter, const QPointF &s, const QPointF &e, double headLength);
double arrowHeadLength(double lineWidth);

}  // namespace AnnotationPainter
