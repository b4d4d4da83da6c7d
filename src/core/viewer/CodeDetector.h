#pragma once

#include <QList>
#include <QRectF>
#include <QString>

#include <optional>

class QImage;

// One code found in an image.
struct DetectedCode {
    QString format;               // "QRCode", "Code128", "EAN13" or "PDF417"
    std::optional<QString> text;  // none when the code was located but could not be read
    QRectF box;                   // normalised to the image (0…1), top-left origin
};

// Finds QR codes and barcodes in an image. Called from worker threads,
// several at once: implementations must be safe for that.
class CodeDetector
{
public:
    virtual ~CodeDetector() = default;
    // Every code located, in detection order; empty when none or on failure.
    virtual QList<DetectedCode> detect(const QImage &image) const = 0;
};
