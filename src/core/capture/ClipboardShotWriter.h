#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>

// Writes clipboard captures as PNG files. Safe on any thread.
namespace ClipboardShotWriter {

// "Screenshot 2024-01-01 at 10.00.00 (Clipboard).png"; later captures of the
// same second get " (Clipboard 2).png", " (Clipboard 3).png", …
QString fileName(const QDateTime &time, int ordinal = 1);

// Creates a new file in folder (never replacing one) holding png, or the
// image encoded as PNG when png is empty. Returns the path, or empty on
// failure, which leaves no file behind.
QString write(const QString &folder, const QDateTime &time, const QImage &image, const QByteArray &png);

}  // namespace ClipboardShotWriter
