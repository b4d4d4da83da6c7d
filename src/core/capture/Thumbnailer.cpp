#include "capture/Thumbnailer.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QSet>
#include <QStandardPaths>

namespace {
const QString stampKey = QStringLiteral("Tarnwick-Source");

// What identifies the version of a source file the thumbnail was made from.
QString stampOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return QStringLiteral("%1:%2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
}

bool isOpaque(const QImage &argb)
{
    // Plain loops over hoisted bounds so the compiler can vectorise them.
    const int width = argb.width();
    const int height = argb.height();
    for (int y = 0; y < height; ++y) {
        const auto *pixel = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        QRgb all = 0xffffffffu;
        for (int x = 0; x < width; ++x)
            all &= pixel[x];
        if (qAlpha(all) != 0xff)
            return false;
    }
    return true;
}

// Smooth scaling is fastest on RGB32 or premultiplied pixels. Screenshots are
// mostly opaque even when saved with an alpha channel: those are read in place
// as RGB32 instead of being converted.
QImage scalingSource(const QImage &image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32_Premultiplied)
        return image;
    if (image.format() == QImage::Format_ARGB32 && isOpaque(image))
        return QImage(image.constBits(), image.width(), image.height(), image.bytesPerLine(), QImage::Format_RGB32);
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

// Thumbnails stay in memory for as long as they are shown: opaque ones are
// held in three bytes a pixel instead of four.
QImage compact(const QImage &thumbnail)
{
    return thumbnail.hasAlphaChannel() ? thumbnail : thumbnail.convertToFormat(QImage::Format_RGB888);
}

QImageReader *configured(QImageReader &reader)
{
    reader.setAllocationLimit(Thumbnailer::allocationLimitMiB);
    reader.setAutoTransform(true);
    return &reader;
}
}  // namespace

Thumbnailer::Thumbnailer(QString cacheDir)
    : m_cacheDir(std::move(cacheDir))
{
}

QString Thumbnailer::standardCacheDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
        + QStringLiteral("/Tarnwick/thumbnails");
}

QImage Thumbnailer::decode(const QString &path)
{
    QImageReader reader(path);
    return configured(reader)->read();
}

QImage Thumbnailer::decode(const QByteArray &bytes, QByteArray *format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (format)
        *format = reader.format();  // known from the content before the read, gone after it
    return configured(reader)->read();
}

QImage Thumbnailer::reduce(const QImage &image)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return {};
    if (image.width() <= maxWidth)
        return compact(image);
    const int height = qMax(1, qRound(double(image.height()) * maxWidth / image.width()));
    return compact(scalingSource(image).scaled(maxWidth, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QImage Thumbnailer::generateThumbnail(const QString &path) const
{
    if (QImage hit = cached(path); !hit.isNull())
        return hit;
    QImage thumbnail = reduce(decode(path));
    if (!thumbnail.isNull())
        store(path, thumbnail);
    return thumbnail;
}

QString Thumbnailer::cacheFileFor(const QString &path) const
{
    if (m_cacheDir.isEmpty())
        return {};
    const QByteArray key = QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toUtf8();
    return m_cacheDir + QLatin1Char('/')
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex())
        + QStringLiteral(".png");
}

QImage Thumbnailer::cached(const QString &path) const
{
    const QString file = cacheFileFor(path);
    if (file.isEmpty() || !QFileInfo::exists(file))
        return {};
    QImageReader reader(file);
    configured(reader);
    const QString stamp = stampOf(path);
    if (stamp.isEmpty() || reader.text(stampKey) != stamp)
        return {};
    const QImage image = reader.read();
    if (image.width() > maxWidth)
        return {};
    return compact(image);
}

void Thumbnailer::store(const QString &path, const QImage &thumbnail) const
{
    const QString file = cacheFileFor(path);
    const QString stamp = stampOf(path);
    if (file.isEmpty() || stamp.isEmpty() || thumbnail.isNull())
        return;
    // Encoded in memory first: the PNG writer leaks its row table when the
    // device fails under it (a full disk), and a failed write is then simply
    // one the file refuses.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setText(stampKey, stamp);
    writer.setCompression(1);  // favour decode and encode speed over size
    if (!writer.write(thumbnail))
        return;
    QDir().mkpath(m_cacheDir);
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly) && out.write(png) == png.size())
        out.commit();
}

void Thumbnailer::forget(const QString &path) const
{
    const QString file = cacheFileFor(path);
    if (!file.isEmpty())
        QFile::remove(file);
}

void Thumbnailer::prune(const QStringList &keep) const
{
    if (m_cacheDir.isEmpty())
        return;
    QSet<QString> wanted;
    for (const QString &path : keep)
        wanted.insert(QFileInfo(cacheFileFor(path)).fileName());
    QDir dir(m_cacheDir);
    for (const QString &name : dir.entryList({QStringLiteral("*.png")}, QDir::Files)) {
        if (!wanted.contains(name))
            dir.remove(name);
    }
}
