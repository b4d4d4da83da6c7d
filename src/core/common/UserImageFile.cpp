#include "common/UserImageFile.h"

#include "common/ImageHeader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QThreadPool>

namespace UserImageFile {

QString problem(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isAbsolute())
        return QCoreApplication::translate("UserImageFile", "not an absolute path");
    if (!info.exists())
        return QCoreApplication::translate("UserImageFile", "no such file");
    // A named pipe or a device would hold the reader until someone writes to it.
    if (!info.isFile())
        return QCoreApplication::translate("UserImageFile", "not a file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QCoreApplication::translate("UserImageFile", "cannot read the file");
    return {};
}

Decoded read(const QString &path)
{
    if (QString refused = problem(path); !refused.isEmpty())
        return {{}, refused};
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(allocationLimitMiB);
    // Held to the limit at 32 bits a pixel at least: the windows convert a
    // one-bit image to that, and the decoder's own limit counts its bits.
    const std::optional<qint64> bytes = ImageHeader::decodedBytes(reader, 32);
    const QSize size = reader.size();
    if (bytes && *bytes > qint64(allocationLimitMiB) * 1024 * 1024)
        return {{}, QCoreApplication::translate("UserImageFile", "too large to open (%1 × %2 pixels)")
                        .arg(size.width())
                        .arg(size.height())};
    QImage image = reader.read();
    if (image.isNull())
        return {{}, QCoreApplication::translate("UserImageFile", "not an image that can be read")};
    return {image, {}};
}

QString notShown(const QString &path, const QString &problem)
{
    return QCoreApplication::translate("UserImageFile", "%1 cannot be shown: %2.")
        .arg(QFileInfo(path).fileName(), problem);
}

QThreadPool *readerThreads()
{
    static QThreadPool *const threads = new QThreadPool;
    return threads;
}

}  // namespace UserImageFile
