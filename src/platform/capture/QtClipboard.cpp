#include "capture/QtClipboard.h"

#include "capture/Thumbnailer.h"
#include "capture/X11SelectionReader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMimeData>
#include <QtConcurrent>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

Q_LOGGING_CATEGORY(lcPasteboard, "tarnwick.clipboard", QtInfoMsg)

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

// Whether the X server names one of this process's windows as the clipboard's
// owner; none off X11 or when the server cannot be asked.
std::optional<bool> x11OwnerIsThisProcess()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return std::nullopt;
    static const xcb_atom_t clipboard = [connection] {
        xcb_intern_atom_reply_t *reply =
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, 9, "CLIPBOARD"), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }();
    if (clipboard == XCB_ATOM_NONE)
        return std::nullopt;
    xcb_get_selection_owner_reply_t *reply =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, clipboard), nullptr);
    if (!reply)
        return std::nullopt;
    // Every window a client creates carries that client's resource-id base.
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const bool ours = reply->owner != XCB_NONE
        && (reply->owner & ~setup->resource_id_mask) == setup->resource_id_base;
    std::free(reply);
    return ours;
}

Clipboard::Image imageFrom(const QByteArray &bytes, const QString &type)
{
    const QImage image = Thumbnailer::decode(bytes);  // bounded: a small file may claim a huge size
    if (image.isNull())
        qCInfo(lcPasteboard) << "clipboard image not decoded";
    return {image, type == QLatin1String("image/png") && !image.isNull() ? bytes : QByteArray()};
}
}  // namespace

QtClipboard::QtClipboard(QObject *parent, qint64 maxImageBytes)
    : QObject(parent)
    , m_clipboard(QGuiApplication::clipboard())
    , m_maxImageBytes(maxImageBytes)
{
    connect(m_clipboard, &QClipboard::dataChanged, this, [this] { ++m_changeCount; });
}

bool QtClipboard::isOwnedByThisApp() const
{
    // Qt counts the clipboard as ours from the moment it asks for it, even
    // when the server refused because another program took it later (our
    // request carried an older timestamp); then no other program's copy would
    // ever be captured again. The server knows the real owner.
    return m_clipboard->ownsClipboard() && x11OwnerIsThisProcess().value_or(true);
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

QFuture<Clipboard::Image> QtClipboard::readImage() const
{
    const QMimeData *data = m_clipboard->mimeData();
    if (!data)
        return QtFuture::makeReadyFuture(Image{});
    // Our own copy is in this process and has no encoded form to read.
    if (m_clipboard->ownsClipboard() && data->hasImage())
        return QtFuture::makeReadyFuture(Image{qvariant_cast<QImage>(data->imageData()), {}});
    const QStringList offered = data->formats();
    const auto best = std::find_if(readableImageTypes().cbegin(), readableImageTypes().cend(),
                                   [&](const QString &type) { return offered.contains(type); });
    if (best == readableImageTypes().cend())
        return QtFuture::makeReadyFuture(Image{});
    const QString type = *best;
    const qint64 limit = m_maxImageBytes;
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        // No X connection of our own to read on: Qt's transfer, on this thread.
        const QByteArray bytes = data->data(type);
        return QtFuture::makeReadyFuture(bytes.size() > limit ? Image{} : imageFrom(bytes, type));
    }
    return QtConcurrent::run([type, limit] {
        const X11SelectionReader::Result read = X11SelectionReader::read(type.toLatin1(), limit);
        if (read.failure == X11SelectionReader::Failure::tooLarge)
            qCWarning(lcPasteboard) << "clipboard image skipped: its" << type << "data exceed the limit of" << limit
                                    << "bytes";
        return read.failure ? Image{} : imageFrom(read.data, type);
    });
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
