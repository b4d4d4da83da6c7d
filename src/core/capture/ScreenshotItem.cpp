#include "capture/ScreenshotItem.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QLocale>

QString ScreenshotItem::formattedDate(const QDateTime &now) const
{
    const QDate day = capturedAt.date();
    switch (now.date().daysTo(day)) {
    case 0:
        return QCoreApplication::translate("ScreenshotItem", "Today");
    case -1:
        return QCoreApplication::translate("ScreenshotItem", "Yesterday");
    case 1:
        return QCoreApplication::translate("ScreenshotItem", "Tomorrow");
    default:
        return QLocale(QLocale::English, QLocale::UnitedStates).toString(day, QLocale::ShortFormat);
    }
}

QString ScreenshotItem::formattedTime() const
{
    QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    return locale.toString(capturedAt.time(), QLocale::ShortFormat);
}

QString ScreenshotItem::imageDimensions() const
{
    const QSize size = pixelSize();
    return size.isValid() ? QStringLiteral("%1\u00D7%2").arg(size.width()).arg(size.height()) : QString();
}

QSize ScreenshotItem::pixelSize() const
{
    // Reads the header only; no pixels are decoded to measure the image.
    QImageReader reader(filePath());
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return {};
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    return size;
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
        return QCoreApplication::translate("ScreenshotItem", "1 byte");
    if (bytes < 1000)
        return QCoreApplication::translate("ScreenshotItem", "%1 bytes").arg(bytes);
    static const char *const units[] = {
        QT_TRANSLATE_NOOP("ScreenshotItem", "kB"), QT_TRANSLATE_NOOP("ScreenshotItem", "MB"),
        QT_TRANSLATE_NOOP("ScreenshotItem", "GB"), QT_TRANSLATE_NOOP("ScreenshotItem", "TB"),
        QT_TRANSLATE_NOOP("ScreenshotItem", "PB")};
    double value = double(bytes) / 1000.0;
    int unit = 0;
    // Round first so 999 950 bytes reads "1.0 MB", not "1000.0 kB".
    while (value >= 999.95 && unit < 4) {
        value /= 1000.0;
        ++unit;
    }
    return QStringLiteral("%1 %2")
        .arg(value, 0, 'f', 1)
        .arg(QCoreApplication::translate("ScreenshotItem", units[unit]));
}
