#include "common/Shadow.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace Shadow {

namespace {

// One box-blur pass over the alpha bytes of a line of `count` pixels spaced
// `stride` bytes apart.
void boxBlurLine(uchar *first, int count, int stride, int half, std::vector<int> &scratch)
{
    scratch.resize(size_t(count));
    for (int i = 0; i < count; ++i)
        scratch[size_t(i)] = first[i * stride];
    const int width = 2 * half + 1;
    int sum = 0;
    for (int i = -half; i <= half; ++i)
        sum += (i >= 0 && i < count) ? scratch[size_t(i)] : 0;
    for (int i = 0; i < count; ++i) {
        first[i * stride] = uchar(sum / width);
        const int out = i - half;
        const int in = i + half + 1;
        sum += (in < count ? scratch[size_t(in)] : 0) - (out >= 0 ? scratch[size_t(out)] : 0);
    }
}

// Three box passes each way come within a few percent of a Gaussian.
void blurAlpha(QImage &image, double sigma)
{
    const int half = std::max(1, int(std::lround(std::sqrt(4 * sigma * sigma + 1) / 2)));
    const int alphaByte = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? 3 : 0;
    std::vector<int> scratch;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < image.height(); ++y)
            boxBlurLine(image.scanLine(y) + alphaByte, image.width(), 4, half, scratch);
        for (int x = 0; x < image.width(); ++x)
            boxBlurLine(image.bits() + x * 4 + alphaByte, image.height(), int(image.bytesPerLine()), half, scratch);
    }
}

}  // namespace

Rendered render(const QPainterPath &shape, const QColor &color, double radius, qreal dpr)
{
    const double margin = std::ceil(radius) + 2;
    const QRectF area = shape.boundingRect().adjusted(-margin, -margin, margin, margin);
    if (area.isEmpty())
        return {};
    QImage image((area.size() * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(dpr, dpr);
        painter.translate(-area.topLeft());
        painter.fillPath(shape, Qt::black);
    }
    // The colour's own alpha scales the silhouette, as a tinted shadow does.
    blurAlpha(image, radius * dpr / 2);
    {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), color);
    }
    image.setDevicePixelRatio(dpr);
    return {image, area.topLeft()};
}

void draw(QPainter &painter, const Rendered &shadow, const QPointF &offset)
{
    if (!shadow.image.isNull())
        painter.drawImage(shadow.topLeft + offset, shadow.image);
}

void draw(QPainter &painter, const QPainterPath &shape, const QColor &color, double radius, const QPointF &offset)
{
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    draw(painter, render(shape, color, radius, dpr), offset);
}

}  // namespace Shadow
