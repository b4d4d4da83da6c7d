#include "annotation/AnnotationGeometry.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

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

std::unique_ptr<QTextLayout> layoutText(const QString &text, double fontSize)
{
    QString lines = text;
    lines.replace(u'\n', QChar::LineSeparator);
    auto layout = std::make_unique<QTextLayout>(lines, textFont(fontSize));
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(textWrapMode);
    layout->setTextOption(option);
    // Each line starts on a whole pixel, one leading below the last.
    const double leading = QFontMetricsF(layout->font()).leading();
    double next = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(textWrapWidth);
        line.setPosition(QPointF(0, std::ceil(next)));
        next = line.y() + line.ascent() + line.descent() + leading;
    }
    layout->endLayout();
    return layout;
}

QSizeF textSize(const QString &text, double fontSize)
{
    const std::unique_ptr<QTextLayout> layout =
        layoutText(text.isEmpty() ? QStringLiteral("Texto") : text, fontSize);
    double width = 0;
    double height = 0;
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        width = std::max(width, line.naturalTextWidth());
        height = line.y() + line.ascent() + line.descent();
    }
    return {width, height};
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
