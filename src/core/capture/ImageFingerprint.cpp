#include "capture/ImageFingerprint.h"

#include <QHashFunctions>

quint64 ImageFingerprint::of(const QImage &image)
{
    if (image.isNull())
        return 0;
    const QImage pixels = image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32
        ? image
        : image.convertToFormat(QImage::Format_ARGB32);
    const size_t rowBytes = size_t(pixels.width()) * 4;
    size_t hash = qHashMulti(0, pixels.width(), pixels.height());
    for (int y = 0; y < pixels.height(); ++y)
        hash = qHashBits(pixels.constScanLine(y), rowBytes, hash);
    return quint64(hash) | 1;  // never 0, which means "no image"
}
