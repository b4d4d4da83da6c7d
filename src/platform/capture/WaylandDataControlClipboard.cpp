#include "capture/WaylandDataControlClipboard.h"

#include "capture/PipeReader.h"
#include "capture/PipeWriter.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <QtConcurrent>

#include <wayland-client.h>
#include "wlr-data-control-unstable-v1-client.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// Offered beside our own data, so the selection that comes back from the
// compositor can be told from another program's.
constexpr char ownType[] = "application/x-tarnwick-owner";

// The protocol's round trip, bounded in time: a compositor that never
// answers must not hold up the start.
bool roundtrip(wl_display *display, int timeoutMs)
{
    bool done = false;
    static const wl_callback_listener listener{
        [](void *data, wl_callback *, uint32_t) { *static_cast<bool *>(data) = true; }};
    wl_callback *callback = wl_display_sync(display);
    wl_callback_add_listener(callback, &listener, &done);
    const QDeadlineTimer deadline(timeoutMs);
    while (!done && !deadline.hasExpired()) {
        if (wl_display_flush(display) < 0 && errno != EAGAIN)
            break;
        if (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0)
                break;
            continue;
        }
        pollfd ready{wl_display_get_fd(display), POLLIN, 0};
        if (::poll(&ready, 1, int(qMax<qint64>(1, deadline.remainingTime()))) <= 0) {
            wl_display_cancel_read(display);
            continue;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0)
            break;
    }
    wl_callback_destroy(callback);
    return done;
}

QByteArray encodePng(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

Clipboard::Image readPipe(int fd, const QString &type, qint64 limit)
{
    const PipeReader::Result read = PipeReader::readAll(fd, limit, WaylandDataControlClipboard::readTimeoutMs);
    if (read.failure == PipeReader::Failure::tooLarge)
        ClipboardImages::warnTooLarge(type, limit);
    else if (read.failure == PipeReader::Failure::timedOut)
        qCInfo(lcPasteboard) << "the clipboard's owner did not hand over its image within"
                             << WaylandDataControlClipboard::readTimeoutMs << "ms";
    return read.failure ? Clipboard::Image{} : ClipboardImages::decode(read.data, type);
}

}  // namespace

struct WaylandDataControlClipboard::Offer {
    zwlr_data_control_offer_v1 *proxy;
    QStringList types;
    ~Offer() { zwlr_data_control_offer_v1_destroy(proxy); }
};

struct WaylandDataControlClipboard::Source {
    WaylandDataControlClipboard *clipboard;
    zwlr_data_control_source_v1 *proxy;
    QStringList types;
    QFuture<QByteArray> bytes;
    ~Source() { zwlr_data_control_source_v1_destroy(proxy); }
};

struct WaylandDataControlClipboard::Protocol {
    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t)
    {
        auto *self = static_cast<WaylandDataControlClipboard *>(data);
        if (!self->m_seat && std::strcmp(interface, wl_seat_interface.name) == 0)
            self->m_seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        else if (!self->m_manager && std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
            self->m_manager = static_cast<zwlr_data_control_manager_v1 *>(
                wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
    }
    static void globalRemoved(void *, wl_registry *, uint32_t) {}

    static void offered(void *data, zwlr_data_control_offer_v1 *, const char *type)
    {
        static_cast<Offer *>(data)->types << QString::fromUtf8(type);
    }
    static void dataOffer(void *data, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *proxy)
    {
        static const zwlr_data_control_offer_v1_listener listener{offered};
        std::unique_ptr<Offer> offer(new Offer{proxy, {}});
        zwlr_data_control_offer_v1_add_listener(proxy, &listener, offer.get());
        static_cast<WaylandDataControlClipboard *>(data)->m_introduced = std::move(offer);
    }
    static void selection(void *data, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *proxy)
    {
        static_cast<WaylandDataControlClipboard *>(data)->selectionChanged(proxy);
    }
    static void finished(void *data, zwlr_data_control_device_v1 *)
    {
        static_cast<WaylandDataControlClipboard *>(data)->lose();
    }
    static void primarySelection(void *, zwlr_data_control_device_v1 *, zwlr_data_control_offer_v1 *) {}

    static void send(void *data, zwlr_data_control_source_v1 *, const char *type, int32_t fd)
    {
        auto *source = static_cast<Source *>(data);
        if (std::strcmp(type, ownType) == 0)
            ::close(fd);
        else
            new PipeWriter(fd, source->bytes, source->clipboard);
    }
    static void cancelled(void *data, zwlr_data_control_source_v1 *)
    {
        auto *source = static_cast<Source *>(data);
        source->clipboard->sourceCancelled(source);
    }

    static constexpr wl_registry_listener registry{global, globalRemoved};
    static constexpr zwlr_data_control_device_v1_listener device{dataOffer, selection, finished, primarySelection};
    static constexpr zwlr_data_control_source_v1_listener source{send, cancelled};
};

std::unique_ptr<WaylandDataControlClipboard> WaylandDataControlClipboard::connectToDisplay(qint64 maxImageBytes)
{
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return nullptr;
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    std::unique_ptr<WaylandDataControlClipboard> clipboard(new WaylandDataControlClipboard(display, maxImageBytes));
    if (!clipboard->bind())
        return nullptr;
    // A reader that closes its pipe before taking all our bytes must cost a
    // failed write, not the process.
    std::signal(SIGPIPE, SIG_IGN);
    return clipboard;
}

WaylandDataControlClipboard::WaylandDataControlClipboard(wl_display *display, qint64 maxImageBytes)
    : m_display(display)
    , m_maxImageBytes(maxImageBytes)
{
}

WaylandDataControlClipboard::~WaylandDataControlClipboard()
{
    delete m_readable;  // before the connection closes their socket
    delete m_writable;
    m_introduced.reset();
    m_selection.reset();
    m_sources.clear();
    if (m_device)
        zwlr_data_control_device_v1_destroy(m_device);
    if (m_manager)
        zwlr_data_control_manager_v1_destroy(m_manager);
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_registry)
        wl_registry_destroy(m_registry);
    wl_display_disconnect(m_display);
}

bool WaylandDataControlClipboard::bind()
{
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &Protocol::registry, this);
    if (!roundtrip(m_display, connectTimeoutMs) || !m_seat || !m_manager)
        return false;
    m_device = zwlr_data_control_manager_v1_get_data_device(m_manager, m_seat);
    zwlr_data_control_device_v1_add_listener(m_device, &Protocol::device, this);
    if (!roundtrip(m_display, connectTimeoutMs) || m_lost)  // brings the current selection
        return false;
    const int fd = wl_display_get_fd(m_display);
    m_readable = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_readable, &QSocketNotifier::activated, this, &WaylandDataControlClipboard::dispatch);
    m_writable = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    m_writable->setEnabled(false);
    connect(m_writable, &QSocketNotifier::activated, this, &WaylandDataControlClipboard::flush);
    return true;
}

void WaylandDataControlClipboard::dispatch()
{
    // The socket has data, so reading it does not wait.
    if (wl_display_prepare_read(m_display) == 0 && wl_display_read_events(m_display) < 0)
        return lose();
    if (wl_display_dispatch_pending(m_display) < 0)
        return lose();
    flush();
}

void WaylandDataControlClipboard::flush() const
{
    if (m_lost || !m_writable)
        return;
    // A broken connection shows on the next read, which reports the compositor's error.
    const bool full = wl_display_flush(m_display) < 0 && errno == EAGAIN;
    m_writable->setEnabled(full);
}

void WaylandDataControlClipboard::lose()
{
    if (m_lost)
        return;
    m_lost = true;
    m_owned = false;
    if (m_readable) {
        m_readable->setEnabled(false);
        m_writable->setEnabled(false);
    }
    if (const int error = wl_display_get_error(m_display))
        qCWarning(lcPasteboard) << "the Wayland compositor closed the clipboard's connection:" << std::strerror(error);
    else
        qCWarning(lcPasteboard) << "the Wayland compositor withdrew the clipboard";
    Q_EMIT connectionLost();
}

void WaylandDataControlClipboard::selectionChanged(zwlr_data_control_offer_v1 *proxy)
{
    std::unique_ptr<Offer> offer = std::move(m_introduced);
    if (offer && offer->proxy != proxy)
        offer.reset();
    const bool ours = offer && offer->types.contains(QLatin1String(ownType));
    if (m_echoesDue > 0 && (ours || !offer))
        --m_echoesDue;
    else
        ++m_changeCount;
    m_owned = ours && m_current;
    m_selection = std::move(offer);
}

void WaylandDataControlClipboard::sourceCancelled(Source *source)
{
    if (source == m_current) {
        m_current = nullptr;
        m_owned = false;
    }
    std::erase_if(m_sources, [source](const std::unique_ptr<Source> &kept) { return kept.get() == source; });
}

QStringList WaylandDataControlClipboard::offeredTypes() const
{
    if (m_owned && m_current)
        return m_current->types;
    QStringList offered = m_selection ? m_selection->types : QStringList();
    offered.removeAll(QLatin1String(ownType));
    return offered;
}

QFuture<QStringList> WaylandDataControlClipboard::types() const
{
    return QtFuture::makeReadyFuture(offeredTypes());
}

QFuture<Clipboard::Image> WaylandDataControlClipboard::readImage() const
{
    const QString type = ClipboardImages::bestType(offeredTypes());
    if (type.isEmpty() || m_lost)
        return QtFuture::makeReadyFuture(Image{});
    if (m_owned && m_current) {
        return QFuture<QByteArray>(m_current->bytes).then(QtFuture::Launch::Async, [type](const QByteArray &bytes) {
            return ClipboardImages::decode(bytes, type);
        });
    }
    int fds[2];
    if (!m_selection || ::pipe2(fds, O_CLOEXEC) != 0)
        return QtFuture::makeReadyFuture(Image{});
    zwlr_data_control_offer_v1_receive(m_selection->proxy, type.toUtf8().constData(), fds[1]);
    ::close(fds[1]);  // the request carries a copy
    flush();
    return QtConcurrent::run(readPipe, fds[0], type, m_maxImageBytes);
}

void WaylandDataControlClipboard::select(const QStringList &types, const QFuture<QByteArray> &bytes)
{
    m_clearDue = false;
    ++m_changeCount;
    if (m_lost)
        return;
    std::unique_ptr<Source> source(
        new Source{this, zwlr_data_control_manager_v1_create_data_source(m_manager), types, bytes});
    zwlr_data_control_source_v1_add_listener(source->proxy, &Protocol::source, source.get());
    for (const QString &type : types)
        zwlr_data_control_source_v1_offer(source->proxy, type.toUtf8().constData());
    zwlr_data_control_source_v1_offer(source->proxy, ownType);
    zwlr_data_control_device_v1_set_selection(m_device, source->proxy);
    ++m_echoesDue;
    m_current = source.get();
    m_owned = true;
    m_sources.push_back(std::move(source));
    flush();
}

void WaylandDataControlClipboard::clearContents()
{
    ++m_changeCount;
    m_current = nullptr;
    m_owned = false;
    // Sent only if no copy follows at once: a clipboard manager seeing the
    // clipboard empty for a moment would put its last entry back, over ours.
    m_clearDue = true;
    QTimer::singleShot(0, this, &WaylandDataControlClipboard::clearNow);
}

void WaylandDataControlClipboard::clearNow()
{
    if (!std::exchange(m_clearDue, false) || m_lost)
        return;
    zwlr_data_control_device_v1_set_selection(m_device, nullptr);
    ++m_echoesDue;
    flush();
}

void WaylandDataControlClipboard::writeImage(const QImage &image)
{
    select({QStringLiteral("image/png")}, QtConcurrent::run(encodePng, image));
}

void WaylandDataControlClipboard::writeEncodedImage(const QByteArray &bytes, const QString &mimeType)
{
    select({mimeType}, QtFuture::makeReadyFuture(bytes));
}

void WaylandDataControlClipboard::setString(const QString &text)
{
    select({QStringLiteral("text/plain;charset=utf-8"), QStringLiteral("text/plain"), QStringLiteral("UTF8_STRING"),
            QStringLiteral("STRING"), QStringLiteral("TEXT")},
           QtFuture::makeReadyFuture(text.toUtf8()));
}
