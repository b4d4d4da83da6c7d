// Image bytes through every reader the program has: clipboard data and folder
// captures (decoded from bytes, reduced, fingerprinted), and the files the
// viewer's analyses, the colour picker and the dimensions line open.

#include "FuzzTargets.h"

#include "analysis/ScreenshotFileReader.h"
#include "capture/ImageFingerprint.h"
#include "capture/ScreenshotItem.h"
#include "capture/Thumbnailer.h"
#include "common/UserImageFile.h"
#include "picker/PickerImage.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// What any reader may hand back: at most its allocation limit.
bool bounded(const QImage &image, int limitMiB = Thumbnailer::allocationLimitMiB)
{
    return image.sizeInBytes() <= qsizetype(limitMiB) * 1024 * 1024;
}

QString writtenToFile(const QByteArray &bytes)
{
    static const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("shot"));  // no suffix: the readers go by the content
    QFile file(path);
    FUZZ_REQUIRE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
    return path;
}

}  // namespace

int fuzzImage(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QImage decoded = Thumbnailer::decode(bytes);
    const QImage thumbnail = Thumbnailer::reduce(decoded);
    FUZZ_REQUIRE(bounded(decoded));
    FUZZ_REQUIRE(thumbnail.isNull() == decoded.isNull() && thumbnail.width() <= Thumbnailer::maxWidth);
    FUZZ_REQUIRE((ImageFingerprint::of(decoded) == 0) == decoded.isNull());

    const QString path = writtenToFile(bytes);
    FUZZ_REQUIRE(bounded(ScreenshotFileReader::read(path)));
    const PickerImage picker = PickerImage::load(path);
    FUZZ_REQUIRE(bounded(picker.pixels(), UserImageFile::allocationLimitMiB));
    picker.scaled(picker.size() / 3);  // drawn small, from its halved copies
    ScreenshotItem item;
    item.url = QUrl::fromLocalFile(path);
    item.imageDimensions();  // the header alone
    return decoded.isNull() ? 0 : 1;
}
