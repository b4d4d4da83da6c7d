#pragma once

#include <QImage>
#include <QString>

#include <tesseract/baseapi.h>

#include <memory>

// What a reader sees in a grab of the screen: the image enlarged by scale,
// pixels darker than threshold made black and the rest white, read by the
// OCR library the app itself depends on. Empty if the library cannot start.
inline QString screenText(const QImage &image, int scale, int threshold, tesseract::PageSegMode mode,
                          const char *onlyCharacters = nullptr)
{
    QImage gray = image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_Grayscale8);
    for (uchar *pixel = gray.bits(), *end = pixel + gray.sizeInBytes(); pixel != end; ++pixel)
        *pixel = *pixel < threshold ? 0 : 255;
    tesseract::TessBaseAPI api;
    if (api.Init(nullptr, "eng") != 0)
        return {};
    api.SetPageSegMode(mode);
    if (onlyCharacters)
        api.SetVariable("tessedit_char_whitelist", onlyCharacters);
    api.SetImage(gray.constBits(), gray.width(), gray.height(), 1, int(gray.bytesPerLine()));
    const std::unique_ptr<char[]> text(api.GetUTF8Text());
    return QString::fromUtf8(text.get());
}
