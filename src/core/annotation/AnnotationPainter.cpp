#include "annotation/AnnotationPainter.h"

#include "annotation/AnnotationGeometry.h"

#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace AnnotationPainter {

namespace {

constexpr double highlightOpacity = 0.35;

QRectF boxOf(const QPointF &s, const QPointF &e)
{
    return QRectF(QPointF(std::min(s.x(), e.x()), std::min(s.y(), e.y())),
                  QPointF(std::max(s.x(), e.x()), std::max(s.y(), e.y())));
}

QPen strokePen(const Annotation &annotation)
{
    QPen pen(annotation.color, annotation.lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setMiterLimit(10);
    return pen;
}

}  // namespace

double arrowHeadLength(double lineWidth)
{
    return std::max(lineWidth * 5, 14.0);
}

void strokeArrow(QPainter &painter, const QPointF &s, const QPointF &e, double headLength)
{
    const double theta = std::atan2(e.y() - s.y(), e.x() - s.x());
    constexpr double spread = std::numbers::pi / 6;
    QPainterPath path(s);
    path.lineTo(e);
    for (const double angle : {theta - spread, theta + spread}) {
        path.moveTo(e);
        path.lineTo(e.x() - std::cos(angle) * headLength, e.y() - std::sin(angle) * headLength);
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

void renderShape(QPainter &painter, const Annotation &annotation, const QPointF &s, const QPointF &e)
{
    const QRectF box = boxOf(s, e);
    painter.setPen(strokePen(annotation));
    painter.setBrush(Qt::NoBrush);
    switch (annotation.tool) {
    case AnnotationTool::arrow:
        strokeArrow(painter, s, e, arrowHeadLength(annotation.lineWidth));
        break;
    case AnnotationTool::rectangle:
        painter.drawRoundedRect(box, 3, 3);
        break;
    case AnnotationTool::circle:
        painter.drawEllipse(box);
        break;
    case AnnotationTool::highlight: {
        QColor fill = annotation.color;
        fill.setAlphaF(static_cast<float>(highlightOpacity));
        painter.fillRect(box, fill);
        break;
    }
    case AnnotationTool::text:
        if (annotation.text.isEmpty())
            break;
        painter.setPen(annotation.color);
        AnnotationGeometry::layoutText(annotation.text, annotation.fontSize)->draw(&painter, s);
        break;
    }
}

void draw(QPainter &painter, const Annotation &annotation, const QRectF &rect)
{
    const QPointF s = AnnotationGeometry::toView(annotation.start, rect);
    const QPointF e = AnnotationGeometry::toView(annotation.end, rect);
    if (annotation.rotation == 0) {
        renderShape(painter, annotation, s, e);
        return;
    }
    painter.save();
    const QPointF centre = (s + e) / 2;
    painter.translate(centre);
    painter.rotate(annotation.rotation * 180 / std::numbers::pi);
    painter.translate(-centre);
    renderShape(painter, annotation, s, e);
    painter.restore();
}

void drawSelection(QPainter &painter, const Annotation &annotation, const QRectF &rect, const QColor &accent)
{
    const QPointF s = AnnotationGeometry::toView(annotation.start, rect);
    const QPointF e = annotation.tool == AnnotationTool::text ? AnnotationGeometry::textEndPoint(annotation, rect)
                                                              : AnnotationGeometry::toView(annotation.end, rect);
    const QRectF outline(std::min(s.x(), e.x()) - 8, std::min(s.y(), e.y()) - 8,
                         std::max(std::abs(e.x() - s.x()) + 16, 32.0), std::max(std::abs(e.y() - s.y()) + 16, 32.0));
    QColor colour = accent;
    colour.setAlphaF(0.85f);
    QPen pen(colour, 1.5, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setDashPattern({5 / 1.5, 3 / 1.5});  // in pen widths: 5 on, 3 off
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(outline, 4, 4);
}

}  // namespace AnnotationPainter
