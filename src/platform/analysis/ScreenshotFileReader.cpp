#include "analysis/ScreenshotFileReader.h"

#include "analysis/HugePageImage.h"

#include <QImageReader>

namespace ScreenshotFileReader {

QImage read(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    // Given an image of the file's size and format, the decoder fills it in
    // place.
    QImage image;
    if (reader.size().isValid() && reader.imageFormat() != QImage::Format_Invalid)
        image = HugePageImage::allocate(reader.size(), reader.imageFormat());
    if (!reader.read(&image))
        return {};
    return image;
}

}  // namespace ScreenshotFileReader
