#pragma once

#include "capture/ScreenshotSource.h"

#include <QDateTime>
#include <QImage>
#include <QMetaType>
#include <QUrl>
#include <QUuid>

// One capture in the history. Identity is the id alone: two items with the
// same file but different ids are different entries.
struct ScreenshotItem {
    QUuid id = QUuid::createUuid();
    QUrl url;
    QDateTime capturedAt;
    QImage thumbnail;  // null when the file could not be decoded
    ScreenshotSource source = ScreenshotSource::mac;

    QString filePath() const { return url.toLocalFile(); }

    // en_US, relative words for yesterday/today/tomorrow, short numeric date otherwise.
    QString formattedDate() const { return formattedDate(QDateTime::currentDateTime()); }
    QString formattedDate(const QDateTime &now) const;
    // The time of capture in the user's short format ("2:43 PM"); en_US where
    // the locale is the bare C one, which would show seconds.
    QString formattedTime() const;
    // "1440×900", or empty when the file is not a readable image.
    QString imageDimensions() const;
    // The picture's size as shown (EXIF rotation applied); invalid when unreadable.
    QSize pixelSize() const;
    // Decimal units as a file browser shows them ("532 bytes", "1.4 MB"); empty when unreadable.
    QString fileSize() const;

    static QString formatByteCount(qint64 bytes);

    friend bool operator==(const ScreenshotItem &a, const ScreenshotItem &b) { return a.id == b.id; }
};

Q_DECLARE_METATYPE(ScreenshotItem)
