#pragma once

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <mutex>

// Shared helpers of the test programs.
namespace TestSupport {

// A solid image with a marker pixel so that images of equal size still differ.
QImage makeImage(int width, int height, const QColor &color = Qt::darkCyan, int seed = 0);
// Opaque pixels that do not compress: the PNG is about as large as the image.
QImage noise(int width, int height, quint32 seed = 0);
// Writes image as PNG at path (creating folders); returns path.
QString writePng(const QString &path, const QImage &image);
// A well-formed PNG whose header claims the given size, with a tiny body.
QByteArray pngClaiming(quint32 width, quint32 height);
// The CRC-32 of PNG chunks and zlib.
quint32 crc32(const QByteArray &bytes);
// Writes raw bytes at path (creating folders).
QString writeBytes(const QString &path, const QByteArray &bytes);
// The file's bytes; empty if it cannot be read.
QByteArray readBytes(const QString &path);
// The image encoded as a file of format would hold it.
QByteArray encoded(const QImage &image, const char *format = "PNG");

// Collects the bracketed diagnostic lines while alive.
class DiagnosticRecorder
{
public:
    DiagnosticRecorder();
    ~DiagnosticRecorder();
    QStringList lines() const;
    int count(const QString &line) const { return int(lines().count(line)); }
    bool contains(const QString &prefix) const
    {
        return std::ranges::any_of(lines(), [&](const QString &line) { return line.startsWith(prefix); });
    }
    void clear();

private:
    mutable std::mutex m_mutex;
    QStringList m_lines;
};

// Another program (clipboard_owner) that owns the X11 clipboard until it is
// destroyed: with the given "type=file" offers, or "--silent" never answering.
struct ClipboardOwner {
    QProcess process;
    explicit ClipboardOwner(const QStringList &args)
    {
        process.start(qEnvironmentVariable("CLIPBOARD_OWNER"), args);
        // It says "ready" once it owns the clipboard; the test's event loop keeps running meanwhile.
        if (!QTest::qWaitFor([&] { return process.canReadLine() || process.state() == QProcess::NotRunning; }, 5000))
            qFatal("the clipboard owner never took the clipboard");
    }
    ~ClipboardOwner()
    {
        process.kill();
        process.waitForFinished();
    }
};

}  // namespace TestSupport
