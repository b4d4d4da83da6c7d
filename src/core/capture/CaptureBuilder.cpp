#include "capture/CaptureBuilder.h"

#include "capture/ImageFingerprint.h"
#include "capture/LocalCopies.h"
#include "capture/Thumbnailer.h"

#include <QFile>
#include <QFileInfo>

std::optional<CaptureBuilder::Capture> CaptureBuilder::buildFolderCapture(const QString &path,
                                                                          ScreenshotSource source,
                                                                          bool saveLocalCopies, bool justTaken,
                                                                          const LocalFolders &folders)
{
    if (!LocalCopies::isCapturable(path))
        return std::nullopt;
    QString itemPath = path;
    if (source == ScreenshotSource::mac && saveLocalCopies)
        itemPath = LocalCopies::keepCopy(path, folders.savedShots);

    QFile file(itemPath);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QByteArray format;
    const QImage image = Thumbnailer::decode(bytes, &format);
    Capture capture;
    capture.offeredPath = path;
    capture.item.url = QUrl::fromLocalFile(itemPath);
    capture.item.capturedAt = QDateTime::currentDateTime();
    capture.item.thumbnail = Thumbnailer::reduce(image);
    capture.item.source = source;
    capture.fingerprint = ImageFingerprint::of(image);
    if (source == ScreenshotSource::mac && justTaken && !image.isNull()) {
        capture.clipboardBytes = bytes;
        capture.clipboardType = QStringLiteral("image/") + QString::fromLatin1(format);
    }
    return capture;
}

std::optional<ScreenshotItem> CaptureBuilder::buildRestoredItem(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isAbsolute() || !info.isFile())
        return std::nullopt;
    ScreenshotItem item;
    item.url = QUrl::fromLocalFile(path);
    QDateTime born = info.birthTime();
    if (!born.isValid())
        born = info.lastModified();
    item.capturedAt = born.isValid() ? born : QDateTime::currentDateTime();
    return item;
}
