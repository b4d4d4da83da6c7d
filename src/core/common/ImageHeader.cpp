#include "common/ImageHeader.h"

#include <QImageReader>

#include <algorithm>

namespace ImageHeader {

std::optional<QImage::Format> format(const QImageReader &reader)
{
    // Taken as a number: a damaged header may leave the reader's format a
    // value no QImage::Format has.
    const int named = static_cast<int>(reader.imageFormat());
    if (named > QImage::Format_Invalid && named < QImage::NImageFormats)
        return static_cast<QImage::Format>(named);
    return std::nullopt;
}

std::optional<qint64> decodedBytes(const QImageReader &reader, int minBits)
{
    const QSize size = reader.size();
    const std::optional<QImage::Format> named = format(reader);
    const int bits = std::max<int>(minBits, named ? QImage::toPixelFormat(*named).bitsPerPixel() : 0);
    if (!size.isValid() || bits == 0)
        return std::nullopt;
    const qint64 bytesPerLine = (qint64(size.width()) * bits + 31) / 32 * 4;
    return bytesPerLine * size.height();
}

}  // namespace ImageHeader
