#include "capture/ClipboardImages.h"

#include "capture/Thumbnailer.h"

#include <algorithm>

Q_LOGGING_CATEGORY(lcPasteboard, "tarnwick.clipboard", QtInfoMsg)

namespace ClipboardImages {

QString bestType(const QStringList &offered)
{
    static const QStringList readable{QStringLiteral("image/png"), QStringLiteral("image/bmp"),
                                      QStringLiteral("image/x-bmp"), QStringLiteral("image/jpeg"),
                                      QStringLiteral("image/tiff"), QStringLiteral("image/webp"),
                                      QStringLiteral("image/gif"), QStringLiteral("image/x-portable-pixmap")};
    const auto best = std::find_if(readable.cbegin(), readable.cend(),
                                   [&](const QString &type) { return offered.contains(type); });
    return best == readable.cend() ? QString() : *best;
}

Clipboard::Image decode(const QByteArray &bytes, const QString &type)
{
    const QImage image = Thumbnailer::decode(bytes);  // bounded: a small file may claim a huge size
    if (image.isNull())
        qCInfo(lcPasteboard) << "clipboard image not decoded";
    return {image, type == QLatin1String("image/png") && !image.isNull() ? bytes : QByteArray()};
}

void warnTooLarge(const QString &type, qint64 limit)
{
    qCWarning(lcPasteboard) << "clipboard image skipped: its" << type << "data exceed the limit of" << limit << "bytes";
}

}  // namespace ClipboardImages
