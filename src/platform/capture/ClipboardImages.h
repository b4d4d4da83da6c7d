#pragma once

#include "capture/Clipboard.h"

#include <QLoggingCategory>
#include <QStringList>

Q_DECLARE_LOGGING_CATEGORY(lcPasteboard)

// What the clipboard implementations share about images another program offers.
namespace ClipboardImages {

// Offered image data larger than this is not decoded.
inline constexpr qint64 defaultMaxBytes = 100LL * 1024 * 1024;

// The image type to read from those offered, lossless and cheap first; empty
// when none can be read.
QString bestType(const QStringList &offered);
// The decoded image, keeping the owner's own bytes when they are PNG.
Clipboard::Image decode(const QByteArray &bytes, const QString &type);
// Says that an offered image was left alone for its size.
void warnTooLarge(const QString &type, qint64 limit);

}  // namespace ClipboardImages
