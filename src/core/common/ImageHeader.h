#pragma once

#include <QImage>

#include <optional>

class QImageReader;

// What an image file says of itself before it is decoded. A small file may
// claim 60000 × 60000 pixels, and a damaged one a format out of range, so
// the size is weighed before a decoder is let loose on it.
namespace ImageHeader {

// The header's pixel format, when it names a known one.
std::optional<QImage::Format> format(const QImageReader &reader);

// Bytes the decoded image would take at the header's size and format, each
// pixel counted at minBits at least; none when the header names no size, or
// no format and minBits is 0.
std::optional<qint64> decodedBytes(const QImageReader &reader, int minBits = 0);

}  // namespace ImageHeader
