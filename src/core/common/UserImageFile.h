#pragma once

#include <QImage>
#include <QString>

class QThreadPool;

// An image file the user names to be opened in a window (--pick-color,
// --annotate, the bus methods, the editor and the colour picker): one rule
// for what is accepted, and one way to read it.
namespace UserImageFile {

// Higher than the thumbnails' limit: the user asked for this one image, and a
// long scrolling screenshot easily needs 250 MB decoded.
inline constexpr int allocationLimitMiB = 512;

// Why path cannot be opened, in a few words ("no such file", "not a file",
// ...); empty when it can. A path that is not absolute is refused: it would
// resolve against a folder the caller never meant.
QString problem(const QString &path);

struct Decoded {
    QImage image;
    QString problem;  // why image is null, in a few words
};
// Blocking: run it on readerThreads(). Refuses what problem() refuses, so a
// named pipe is never opened.
Decoded read(const QString &path);

// The sentence a window shows in place of an image it cannot show.
QString notShown(const QString &path, const QString &problem);

// Threads for these reads, apart from Qt's global pool: the raster engine
// splits large fills over that pool and waits for them on the main thread, so
// a read stuck on a file must never hold one of its threads. Never destroyed,
// so leaving the program does not wait for such a read either.
QThreadPool *readerThreads();

}  // namespace UserImageFile
