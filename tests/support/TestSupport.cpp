#include "TestSupport.h"

#include "Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace TestSupport {

QImage makeImage(int width, int height, const QColor &color, int seed)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    if (width > 0 && height > 0)
        image.setPixelColor(seed % width, (seed / width) % height, QColor(seed % 256, 7, 200));
    return image;
}

QString writePng(const QString &path, const QImage &image)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG"))
        qFatal("could not write %s", qPrintable(path));
    return path;
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

int DiagnosticRecorder::count(const QString &line) const
{
    std::lock_guard lock(m_mutex);
    return int(m_lines.count(line));
}

bool DiagnosticRecorder::contains(const QString &prefix) const
{
    std::lock_guard lock(m_mutex);
    for (const QString &line : m_lines) {
        if (line.startsWith(prefix))
            return true;
    }
    return false;
}

void DiagnosticRecorder::clear()
{
    std::lock_guard lock(m_mutex);
    m_lines.clear();
}

}  // namespace TestSupport
