#include "picker/ColorSampler.h"

#include <algorithm>

namespace ColorSampler {

std::optional<QPoint> pixelAt(const QPointF &point, const QRectF &rect, const QSize &imageSize)
{
    if (rect.width() <= 0 || rect.height() <= 0 || imageSize.isEmpty())
        return std::nullopt;
    if (point.x() < rect.left() || point.x() >= rect.right() || point.y() < rect.top() || point.y() >= rect.bottom())
        return std::nullopt;
    const int w = imageSize.width();
    const int h = imageSize.height();
    const int column = std::clamp(int((point.x() - rect.left()) / rect.width() * w), 0, w - 1);
    const int row = std::clamp(int((point.y() - rect.top()) / rect.height() * h), 0, h - 1);
    return QPoint(column, row);
}

std::optional<QColor> sample(const QPointF &point, const QRectF &imageRect, const QImage &image)
{
    const std::optional<QPoint> at = pixelAt(point, imageRect, image.size());
    if (!at)
        return std::nullopt;
    // One pixel in premultiplied form, whatever the image's format, so that
    // un-premultiplying below is the only rounding step.
    const bool direct = image.format() == QImage::Format_ARGB32_Premultiplied || image.format() == QImage::Format_RGB32;
    const QRgb p = direct
        ? image.pixel(*at)
        : image.copy(QRect(*at, QSize(1, 1))).convertToFormat(QImage::Format_ARGB32_Premultiplied).pixel(0, 0);
    const int alpha = qAlpha(p);
    if (alpha == 0)
        return QColor(Qt::black);
    const auto channel = [alpha](int premultiplied) { return std::min(double(premultiplied) / alpha, 1.0); };
    return QColor::fromRgbF(float(channel(qRed(p))), float(channel(qGreen(p))), float(channel(qBlue(p))), 1.0f);
}

}  // namespace ColorSampler
