#include "annotation/AnnotationGeometry.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace AnnotationGeometry {

namespace {

constexpr double hitPad = 20;

QRectF hitBox(const Annotation &annotation, const QRectF &rect, double pad)
{
    QPointF origin(std::min(annotation.start.x(), annotation.end.x()),
                   std::min(annotation.start.y(), annotation.end.y()));
    QSizeF extent(std::abs(annotation.end.x() - annotation.start.x()),
                  std::abs(annotation.end.y() - annotation.start.y()));
    if (annotation.tool == AnnotationTool::text) {
        origin = annotation.start;
        const QPointF far = toNormalized(textEndPoint(annotation, rect), rect);
        extent = QSizeF(far.x() - origin.x(), far.y() - origin.y());
    }
    return QRectF(origin.x() - pad, origin.y() - pad, std::max(extent.width() + 2 * pad, 4 * pad),
                  std::max(extent.height() + 2 * pad, 4 * pad));
}

bool containsHalfOpen(const QRectF &box, const QPointF &point)
{
    return point.x() >= box.left() && point.x() < box.right() && point.y() >= box.top() && point.y() < box.bottom();
}

}  // namespace

QPointF toView(const QPointF &normalized, const QRectF &rect)
{
    return {rect.left() + normalized.x() * rect.width(), rect.top() + normalized.y() * rect.height()};
}

QPointF toNormalized(const QPointF &view, const QRectF &rect)
{
    return {(view.x() - rect.left()) / rect.width(), (view.y() - rect.top()) / rect.height()};
}

QRectF fittedRect(const QSizeF &space, const QSizeF &imageSize)
{
    if (imageSize.width() <= 0 || imageSize.height() <= 0)
        return QRectF(QPointF(), space);
    const double scale = std::min(space.width() / imageSize.width(), space.height() / imageSize.height());
    const QSizeF shown = imageSize * scale;
    return QRectF(QPointF((space.width() - shown.width()) / 2, (space.height() - shown.height()) / 2), shown);
}

QFont textFont(double pixelSize)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setWeight(QFont::Medium);
    return font;
}

QSizeF textSize(const QString &text, double fontSize)
{
    const QFontMetricsF metrics(textFont(fontSize));
    const QString measured = text.isEmpty() ? QStringLiteral("Texto") : text;
    return metrics
        .boundingRect(QRectF(0, 0, textWrapWidth, std::numeric_limits<int>::max()),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, measured)
        .size();
}

QPointF textEndPoint(const Annotation &annotation, const QRectF &rect)
{
    const QSizeF used = textSize(annotation.text, annotation.fontSize);
    return toView(annotation.start, rect) + QPointF(used.width() + 2 * textInset, used.height() + 2 * textInset);
}

void normalizeAnnotation(AnnotationList &annotations, qsizetype index)
{
    if (index < 0 || index >= annotations.size())
        return;
    Annotation &mark = annotations[index];
    if (mark.tool == AnnotationTool::arrow || mark.tool == AnnotationTool::text)
        return;
    const QPointF start = mark.start;
    const QPointF end = mark.end;
    mark.start = QPointF(std::min(start.x(), end.x()), std::min(start.y(), end.y()));
    mark.end = QPointF(std::max(start.x(), end.x()), std::max(start.y(), end.y()));
}

std::optional<qsizetype> hitTest(const AnnotationList &annotations, const QPointF &point, const QRectF &rect)
{
    if (annotations.isEmpty() || rect.width() <= 0)
        return std::nullopt;
    const double pad = hitPad / rect.width();
    for (qsizetype i = annotations.size() - 1; i >= 0; --i) {
        if (containsHalfOpen(hitBox(annotations[i], rect, pad), point))
            return i;
    }
    return std::nullopt;
}

}  // namespace AnnotationGeometry
