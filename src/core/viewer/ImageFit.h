#pragma once

#include <QRectF>
#include <QSizeF>

namespace ImageFit {

// Where an image of imageSize lies when fitted, centred, into a frame of
// frameSize; the whole frame when the image size is not positive.
QRectF fittedRect(const QSizeF &frameSize, const QSizeF &imageSize);
// A box normalised to the image (top-left origin) placed on the fitted image.
QRectF boxInFrame(const QRectF &normalisedBox, const QRectF &fitted);

}  // namespace ImageFit
