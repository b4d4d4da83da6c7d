#include "capture/ScreenshotItem.h"

#include <QFileInfo>
#include <QImageReader>
#include <QLocale>

QString ScreenshotItem::formattedDate(const QDateTime &now) const
{
    const QDate day = capturedAt.date();
    switch (now.date().daysTo(day)) {
    case 0:
        return QStringLiteral("Today");
    case -1:
        return QStringLiteral("Yesterday");
    case 1:
        return QStringLiteral("Tomorrow");
    default:
        return QLocale(QLocale::English, QLocale::UnitedStates).toString(day, QLocale::ShortFormat);
    }
}

QString ScreenshotItem::imageDimensions() const
{
    // Reads the header only; no pixels are decoded to measure the image.
    QImageReader reader(filePath());
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return {};
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return QStringLiteral("%1\u00D7%2").arg(size.width()).arg(size.height());
}

QString ScreenshotItem::fileSize() const
{
    const QFileInfo info(filePath());
    if (!info.exists() || !info.isFile())
        return {};
    return formatByteCount(info.size());
}

QString ScreenshotItem::formatByteCount(qint64 bytes)
{
    if (bytes == 1)
        return QStringLiteral("1 byte");
    if (bytes < 1000)
        return QStringLiteral("%1 bytes").arg(bytes);
    static const char *const units[] = {"kB", "MB", "GB", "TB", "PB"};
    double value = double(bytes) / 1000.0;
    int unit = 0;
    // Round first so 999 950 bytes reads "1.0 MB", not "1000.0 kB".
    while (value >= 999.95 && unit < 4) {
        value /= 1000.0;
        ++unit;
    }
    return QStringLiteral("%1 %2").arg(value, 0, 'f', 1).arg(QLatin1String(units[unit]));
}
