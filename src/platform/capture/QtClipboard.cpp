#include "capture/QtClipboard.h"

#include "capture/ClipboardImages.h"
#include "capture/X11SelectionReader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMimeData>
#include <QtConcurrent>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>

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

// The MIME type Qt's own clipboard reports for a target atom, so both ways
// of asking give the same list.
QString mimeTypeOf(const QByteArray &atomName)
{
    if (atomName == "STRING" || atomName == "UTF8_STRING" || atomName == "TEXT")
        return QStringLiteral("text/plain");
    if (atomName == "PIXMAP")
        return QStringLiteral("image/ppm");
    if (atomName == "text/x-moz-url")
        return QStringLiteral("text/uri-list");
    return QString::fromLatin1(atomName);
}

QStringList offeredTypes(const QStringList &formats)
{
    QStringList result;
    for (const QString &type : formats) {
        if (!isPseudoTarget(type) && !result.contains(type))
            result << type;
    }
    return result;
}

// Asks the owner over a connection of our own, so one that is slow or never
// answers holds up only the calling worker thread.
QStringList askForTypes(int timeoutMs)
{
    const X11SelectionReader::Targets targets = X11SelectionReader::targets(timeoutMs);
    if (targets.failure == X11SelectionReader::Failure::timedOut)
        qCInfo(lcPasteboard) << "the clipboard's owner did not say what it offers within" << timeoutMs << "ms";
    QStringList formats;
    for (const QByteArray &name : targets.names)
        formats << mimeTypeOf(name);
    return offeredTypes(formats);
}

Clipboard::Image askForImage(qint64 limit, int timeoutMs)
{
    const QString type = ClipboardImages::bestType(askForTypes(timeoutMs));
    if (type.isEmpty())
        return {};
    const X11SelectionReader::Result read = X11SelectionReader::read(type.toLatin1(), limit);
    if (read.failure == X11SelectionReader::Failure::tooLarge)
        ClipboardImages::warnTooLarge(type, limit);
    return read.failure ? Clipboard::Image{} : ClipboardImages::decode(read.data, type);
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

bool QtClipboard::asksTheOwner() const
{
    // Qt would ask another program on this thread and wait for its answer.
    return QGuiApplication::platformName() == QLatin1String("xcb") && !isOwnedByThisApp();
}

QFuture<QStringList> QtClipboard::types() const
{
    if (asksTheOwner())
        return QtConcurrent::run(askForTypes, typesTimeoutMs);
    const QMimeData *data = m_clipboard->mimeData();
    return QtFuture::makeReadyFuture<QStringList>(data ? offeredTypes(data->formats()) : QStringList());
}

QFuture<Clipboard::Image> QtClipboard::readImage() const
{
    if (asksTheOwner())
        return QtConcurrent::run(askForImage, m_maxImageBytes, typesTimeoutMs);
    // Our own copy is in this process and may have no encoded form to read.
    const QMimeData *data = m_clipboard->mimeData();
    if (!data)
        return QtFuture::makeReadyFuture(Image{});
    if (m_clipboard->ownsClipboard() && data->hasImage())
        return QtFuture::makeReadyFuture(Image{qvariant_cast<QImage>(data->imageData()), {}});
    const QString type = ClipboardImages::bestType(data->formats());
    if (type.isEmpty())
        return QtFuture::makeReadyFuture(Image{});
    const QByteArray bytes = data->data(type);
    return QtFuture::makeReadyFuture(bytes.size() > m_maxImageBytes ? Image{} : ClipboardImages::decode(bytes, type));
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
