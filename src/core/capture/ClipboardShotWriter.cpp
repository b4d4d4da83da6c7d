#include "capture/ClipboardShotWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUuid>

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
    // Written whole under a passing name first: a full disk leaves no
    // truncated capture behind, since the file only gets its name once complete.
    const QString partPath =
        folder + QStringLiteral("/.%1.part").arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
    auto discard = qScopeGuard([&] { QFile::remove(partPath); });
    QFile part(partPath);
    if (!part.open(QIODevice::WriteOnly | QIODevice::NewOnly) || part.write(bytes) != bytes.size() || !part.flush())
        return {};
    part.close();
    // Renaming never replaces a file, so claiming a name stays atomic and two
    // captures of one second never collide.
    for (int ordinal = 1; ordinal < 1000; ++ordinal) {
        const QString path = folder + QLatin1Char('/') + fileName(time, ordinal);
        if (QFile::rename(partPath, path)) {
            discard.dismiss();
            return path;
        }
        if (!QFileInfo::exists(path))
            return {};
    }
    return {};
}
