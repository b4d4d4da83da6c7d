#include "annotation/AnnotationExport.h"

#include "annotation/AnnotationGeometry.h"
#include "annotation/AnnotationPainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace AnnotationExport {

namespace {

void drawMark(QPainter &painter, const Annotation &mark, const QPointF &s, const QPointF &e, double scale)
{
    QPen pen(mark.color, mark.lineWidth * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF box(QPointF(std::min(s.x(), e.x()), std::min(s.y(), e.y())),
                     QPointF(std::max(s.x(), e.x()), std::max(s.y(), e.y())));
    switch (mark.tool) {
    case AnnotationTool::arrow:
        AnnotationPainter::strokeArrow(painter, s, e, AnnotationPainter::arrowHeadLength(mark.lineWidth) * scale);
        break;
    case AnnotationTool::rectangle:
        painter.drawRect(box);
        break;
    case AnnotationTool::circle:
        painter.drawEllipse(box);
        break;
    case AnnotationTool::highlight: {
        QColor fill = mark.color;
        fill.setAlphaF(0.35f);
        painter.fillRect(box, fill);
        break;
    }
    case AnnotationTool::text:
        if (mark.text.isEmpty())
            break;
        // Laid out at display size and scaled whole, so the glyphs keep
        // their on-screen proportions at any factor.
        painter.save();
        painter.translate(s);
        painter.scale(scale, scale);
        painter.setFont(AnnotationGeometry::textFont(mark.fontSize));
        painter.setPen(mark.color);
        painter.drawText(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, mark.text);
        painter.restore();
        break;
    }
}

}  // namespace

void renderAnnotations(QPainter &painter, const AnnotationList &annotations, const QSizeF &size, double scaleFactor)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const Annotation &mark : annotations) {
        const QPointF s(mark.start.x() * size.width(), mark.start.y() * size.height());
        const QPointF e(mark.end.x() * size.width(), mark.end.y() * size.height());
        if (mark.rotation == 0) {
            drawMark(painter, mark, s, e, scaleFactor);
            continue;
        }
        painter.save();
        const QPointF centre = (s + e) / 2;
        painter.translate(centre);
        painter.rotate(mark.rotation * 180 / std::numbers::pi);  // y down: clockwise as displayed
        painter.translate(-centre);
        drawMark(painter, mark, s, e, scaleFactor);
        painter.restore();
    }
}

QImage buildAnnotatedImage(const QImage &source, const AnnotationList &annotations, double displayedWidth)
{
    if (source.isNull())
        return {};
    // Drawing onto an indexed or otherwise unpaintable format fails silently:
    // always flatten into a fresh ARGB32 image.
    QImage flattened = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    flattened.setDevicePixelRatio(1);
    if (annotations.isEmpty())
        return flattened;
    const double scaleFactor = displayedWidth > 0 ? source.width() / displayedWidth : 1.0;
    {
        QPainter painter(&flattened);
        renderAnnotations(painter, annotations, QSizeF(source.size()), scaleFactor);
    }
    return flattened;
}

}  // namespace AnnotationExport
