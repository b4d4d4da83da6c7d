#include "analysis/ScreenshotFileReader.h"

#include "analysis/HugePageImage.h"
#include "capture/Thumbnailer.h"

#include <QImageReader>

namespace ScreenshotFileReader {

namespace {

// What the decoder would hold for an image of that size and format.
qint64 decodedBytes(QSize size, QImage::Format format)
{
    const qint64 bytesPerLine = (qint64(size.width()) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
    return bytesPerLine * size.height();
}

}  // namespace

QImage read(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(Thumbnailer::allocationLimitMiB);
    // Given an image of the file's size and format, the decoder fills it in
    // place. It then skips its allocation limit, so the header's size is held
    // to it here: a small file may claim 60000×60000 pixels.
    QImage image;
    const QSize size = reader.size();
    const QImage::Format format = reader.imageFormat();
    // A damaged header may name a format out of range.
    const bool known = format > QImage::Format_Invalid && format < QImage::NImageFormats;
    if (size.isValid() && known
        && decodedBytes(size, format) <= qint64(Thumbnailer::allocationLimitMiB) * 1024 * 1024)
        image = HugePageImage::allocate(size, format);
    if (!reader.read(&image))
        return {};
    return image;
}

}  // namespace ScreenshotFileReader
