#pragma once

#include <QImage>
#include <QString>

// Reads an image file at full size, as the viewer's analyses do, into a
// huge-page image (see HugePageImage): decoding a 5K screenshot then takes
// about half as long.
namespace ScreenshotFileReader {

// Null when the file cannot be read.
QImage read(const QString &path);

}  // namespace ScreenshotFileReader
