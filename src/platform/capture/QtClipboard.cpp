#include "capture/QtClipboard.h"

#include "capture/Thumbnailer.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QLoggingCategory>
#include <QMimeData>

Q_LOGGING_CATEGORY(lcPasteboard, "tarnwick.clipboard")

namespace {
// X11 selection machinery, and the image type Qt itself adds to every image
// offer: neither is something the owner offered.
bool isPseudoTarget(const QString &type)
{
    static const QStringList pseudo{QStringLiteral("TARGETS"), QStringLiteral("TIMESTAMP"),
                                    QStringLiteral("MULTIPLE"), QStringLiteral("SAVE_TARGETS"),
                                    QStringLiteral("application/x-qt-image")};
    return pseudo.contains(type);
}

// Image types in the order we prefer to read them: lossless and cheap first.
const QStringList &readableImageTypes()
{
    static const QStringList types{QStringLiteral("image/png"), QStringLiteral("image/bmp"),
                                   QStringLiteral("image/x-bmp"), QStringLiteral("image/jpeg"),
                                   QStringLiteral("image/tiff"), QStringLiteral("image/webp"),
                                   QStringLiteral("image/gif"), QStringLiteral("image/x-portable-pixmap")};
    return types;
}

QImage decodeBounded(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAllocationLimit(Thumbnailer::allocationLimitMiB);
    QImage image = reader.read();
    if (image.isNull())
        qCInfo(lcPasteboard) << "clipboard image not decoded:" << reader.errorString();
    return image;
}
}  // namespace

QtClipboard::QtClipboard(QObject *parent, qint64 maxImageBytes)
    : QObject(parent)
    , m_clipboard(QGuiApplication::clipboard())
    , m_maxImageBytes(maxImageBytes)
{
    connect(m_clipboard, &QClipboard::dataChanged, this, [this] { ++m_changeCount; });
}

QStringList QtClipboard::types() const
{
    QStringList result;
    if (const QMimeData *data = m_clipboard->mimeData()) {
        for (const QString &type : data->formats()) {
            if (!isPseudoTarget(type))
                result << type;
        }
    }
    return result;
}

Clipboard::Image QtClipboard::readImage() const
{
    const QMimeData *data = m_clipboard->mimeData();
    if (!data)
        return {};
    const QStringList offered = data->formats();
    for (const QString &type : readableImageTypes()) {
        if (!offered.contains(type))
            continue;
        const QByteArray bytes = data->data(type);
        if (bytes.size() > m_maxImageBytes) {
            qCWarning(lcPasteboard) << "clipboard image skipped:" << bytes.size() << "bytes of" << type
                                    << "exceed the limit of" << m_maxImageBytes;
            return {};
        }
        QImage image = decodeBounded(bytes);
        if (image.isNull())
            continue;
        return {image, type == QLatin1String("image/png") ? bytes : QByteArray()};
    }
    // An in-process image (our own copy) has no encoded form to read.
    if (m_clipboard->ownsClipboard() && data->hasImage())
        return {qvariant_cast<QImage>(data->imageData()), {}};
    return {};
}

void QtClipboard::clearContents()
{
    m_clipboard->clear();
}

void QtClipboard::writeImage(const QImage &image)
{
    auto *data = new QMimeData;
    data->setImageData(image);
    m_clipboard->setMimeData(data);
}

void QtClipboard::writeEncodedImage(const QByteArray &bytes, const QString &mimeType)
{
    auto *data = new QMimeData;
    data->setData(mimeType, bytes);
    m_clipboard->setMimeData(data);
}

void QtClipboard::setString(const QString &text)
{
    m_clipboard->setText(text);
}
