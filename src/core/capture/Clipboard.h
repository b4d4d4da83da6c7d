#pragma once

#include <QByteArray>
#include <QFuture>
#include <QImage>
#include <QStringList>

// The system clipboard as capture sees it. Main thread only.
class Clipboard
{
public:
    struct Image {
        QImage image;    // null when the clipboard holds no readable image
        QByteArray png;  // the owner's own PNG bytes when it offered image/png
    };

    virtual ~Clipboard() = default;

    // Differs after every change of the contents, by any process.
    virtual qint64 changeCount() const = 0;
    // Whether what is on the clipboard now was put there by this app.
    virtual bool isOwnedByThisApp() const = 0;
    // MIME types now offered, without X11 pseudo-targets. May finish later,
    // off the main thread: another program answers when it likes, or never.
    virtual QFuture<QStringList> types() const = 0;
    // The best image type offered, read and decoded; may finish later, off
    // the main thread, so a large transfer never stalls the interface.
    virtual QFuture<Image> readImage() const = 0;
    virtual void clearContents() = 0;
    virtual void writeImage(const QImage &image) = 0;
    // Offers an image in the encoding it already has (a screenshot file's
    // bytes), so no decoded copy stays in memory while it is on the clipboard.
    virtual void writeEncodedImage(const QByteArray &bytes, const QString &mimeType) = 0;
    virtual void setString(const QString &text) = 0;
};
