#pragma once

#include <QList>
#include <QRectF>

class QImage;

// Finds QR codes by their three finder squares alone, whether or not the data
// between them can be decoded. The barcode library reports nothing for a code
// it cannot read, yet the viewer still marks such a code beside readable ones.
namespace QrFinderLocator {

// Pixel rectangles of the codes whose three finder patterns were found, in a
// greyscale (Format_Grayscale8) image.
QList<QRectF> locate(const QImage &gray);

}  // namespace QrFinderLocator
