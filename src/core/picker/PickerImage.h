#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// The picker's image, decoded once: 8-bit sRGB, with premultiplied alpha
// when it has any; the pixels every sample reads, plus halved copies so that drawing it small
// never smooth-scales the full-size image on the main thread.
class PickerImage
{
public:
    PickerImage() = default;
    // Blocking (a large PNG takes 100 ms and more): run it on
    // UserImageFile::readerThreads(). Null, with problem() saying why, when
    // the file cannot be decoded. The file is only read.
    static PickerImage load(const QString &path);
    // Converts an embedded colour profile to sRGB, then to 8 bits.
    static PickerImage fromImage(QImage image);

    bool isNull() const { return m_pixels.isNull(); }
    bool isOpaque() const { return m_pixels.format() == QImage::Format_RGB32; }
    QSize size() const { return m_pixels.size(); }
    const QImage &pixels() const { return m_pixels; }
    QString problem() const { return m_problem; }
    // The image smoothly scaled to size (device pixels), from the smallest
    // halved copy still at least that large; the pixels themselves when size
    // is theirs or larger.
    QImage scaled(const QSize &size) const;

private:
    QImage m_pixels;
    QList<QImage> m_halves;  // each half the size of the one before
    QString m_problem;
};
