#include "capture/ClipboardShotWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

QString ClipboardShotWriter::fileName(const QDateTime &time, int ordinal)
{
    const QString stamp = time.toString(QStringLiteral("yyyy-MM-dd 'at' HH.mm.ss"));
    if (ordinal <= 1)
        return QStringLiteral("Screenshot %1 (Clipboard).png").arg(stamp);
    return QStringLiteral("Screenshot %1 (Clipboard %2).png").arg(stamp).arg(ordinal);
}

QString ClipboardShotWriter::write(const QString &folder, const QDateTime &time, const QImage &image,
                                   const QByteArray &png)
{
    QByteArray bytes = png;
    if (bytes.isEmpty()) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return {};
    }
    QDir().mkpath(folder);
    // NewOnly makes claiming a name atomic, so two captures of one second never collide.
    for (int ordinal = 1; ordinal < 1000; ++ordinal) {
        const QString path = folder + QLatin1Char('/') + fileName(time, ordinal);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists())
                continue;
            return {};
        }
        if (file.write(bytes) != bytes.size()) {
            file.remove();
            return {};
        }
        return path;
    }
    return {};
}
