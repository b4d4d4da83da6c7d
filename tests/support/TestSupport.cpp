#include "TestSupport.h"

#include "common/Diagnostics.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace TestSupport {

QImage makeImage(int width, int height, const QColor &color, int seed)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    if (width > 0 && height > 0)
        image.setPixelColor(seed % width, (seed / width) % height, QColor(seed % 256, 7, 200));
    return image;
}

QImage noise(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_ARGB32);
    quint32 state = seed * 2654435761u + 1;
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = (state = state * 1664525u + 1013904223u) | 0xff000000u;
    }
    return image;
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A well-formed PNG header that claims the given size, with a tiny body.
QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray chunk = QByteArray::fromHex("49484452");
    const quint32 be[2] = {qToBigEndian(width), qToBigEndian(height)};
    chunk.append(reinterpret_cast<const char *>(be), 8);
    chunk.append(QByteArray::fromHex("0806000000"));
    QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d") + chunk;
    const quint32 crc = qToBigEndian(crc32(chunk));
    png.append(reinterpret_cast<const char *>(&crc), 4);
    png.append(QByteArray::fromHex("0000000a49444154789c63000100000500010d0a2db40000000049454e44ae426082"));
    return png;
}

QString writePng(const QString &path, const QImage &image)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG"))
        qFatal("could not write %s", qPrintable(path));
    return path;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QString writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("could not write %s", qPrintable(path));
    return path;
}

DiagnosticRecorder::DiagnosticRecorder()
{
    Diagnostics::setObserver([this](const QString &line) {
        std::lock_guard lock(m_mutex);
        m_lines << line;
    });
}

DiagnosticRecorder::~DiagnosticRecorder()
{
    Diagnostics::setObserver({});
}

QStringList DiagnosticRecorder::lines() const
{
    std::lock_guard lock(m_mutex);
    return m_lines;
}

void DiagnosticRecorder::clear()
{
    std::lock_guard lock(m_mutex);
    m_lines.clear();
}

}  // namespace TestSupport
