#pragma once

#include <QImage>
#include <QString>

// Makes the reduced images of the history (at most 640 wide, never enlarged)
// and keeps them in a disk cache so that a restart does not decode every
// full-size screenshot again. All methods are safe to call from any thread.
class Thumbnailer
{
public:
    static constexpr int maxWidth = 640;
    // Decoding refuses anything that would need more memory than this, so a
    // small file that claims 40000×40000 pixels cannot exhaust memory.
    static constexpr int allocationLimitMiB = 256;

    // cacheDir empty: no cache.
    explicit Thumbnailer(QString cacheDir = {});
    static QString standardCacheDir();

    // Full decode with the allocation limit and EXIF orientation; null on failure.
    static QImage decode(const QString &path);
    // The same from a file's bytes; format receives the decoder's name ("png", "jpeg").
    static QImage decode(const QByteArray &bytes, QByteArray *format = nullptr);
    // The thumbnail of an already decoded image; null for an empty image.
    static QImage reduce(const QImage &image);

    // Cached thumbnail when it matches the file, else decoded and reduced (and cached).
    QImage generateThumbnail(const QString &path) const;
    void store(const QString &path, const QImage &thumbnail) const;
    void forget(const QString &path) const;
    // Removes cache entries of files not in keep.
    void prune(const QStringList &keep) const;

private:
    QString cacheFileFor(const QString &path) const;
    QImage cached(const QString &path) const;

    QString m_cacheDir;
};
