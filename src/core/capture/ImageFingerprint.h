#pragma once

#include <QImage>

// A hash of an image's pixels, independent of how it was encoded, so that the
// same screenshot reaching us through the folder and the clipboard is seen as
// one. Zero for a null image.
namespace ImageFingerprint {
quint64 of(const QImage &image);
}
