#include "analysis/ScreenshotFileReader.h"

#include "analysis/HugePageImage.h"
#include "capture/Thumbnailer.h"
#include "common/ImageHeader.h"

#include <QImageReader>

namespace ScreenshotFileReader {

QImage read(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(Thumbnailer::allocationLimitMiB);
    // Given an image of the file's size and format, the decoder fills it in
    // place. It then skips its allocation limit, so the header's size is held
    // to it here: a small file may claim 60000×60000 pixels.
    QImage image;
    const std::optional<QImage::Format> format = ImageHeader::format(reader);
    const std::optional<qint64> bytes = ImageHeader::decodedBytes(reader);
    if (format && bytes && *bytes <= qint64(Thumbnailer::allocationLimitMiB) * 1024 * 1024)
        image = HugePageImage::allocate(reader.size(), *format);
    if (!reader.read(&image))
        return {};
    return image;
}

}  // namespace ScreenshotFileReader
