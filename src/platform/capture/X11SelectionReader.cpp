#include "capture/X11SelectionReader.h"

#include <QDeadlineTimer>

#include <xcb/xcb.h>

#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

class Connection
{
public:
    Connection() : m_connection(xcb_connect(nullptr, nullptr)) {}
    ~Connection()
    {
        if (m_window)
            xcb_destroy_window(m_connection, m_window);
        xcb_disconnect(m_connection);
    }
    bool usable() const { return m_connection && !xcb_connection_has_error(m_connection); }
    xcb_connection_t *get() const { return m_connection; }

    xcb_atom_t atom(const char *name) const
    {
        const auto cookie = xcb_intern_atom(m_connection, 0, uint16_t(strlen(name)), name);
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(m_connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    // An unmapped window to receive the selection on; it hears its own property changes.
    xcb_window_t window()
    {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        m_window = xcb_generate_id(m_connection);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, XCB_CW_EVENT_MASK, &events);
        return m_window;
    }

    // The next event of the given response type, or null once the deadline passed.
    Reply<xcb_generic_event_t> waitFor(uint8_t type, const QDeadlineTimer &deadline) const
    {
        for (;;) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                Reply<xcb_generic_event_t> owned(event, &std::free);
                if ((event->response_type & 0x7f) == type)
                    return owned;
            }
            if (deadline.hasExpired() || xcb_connection_has_error(m_connection))
                return {nullptr, &std::free};
            pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
            ::poll(&fd, 1, int(qMax<qint64>(1, deadline.remainingTime())));
        }
    }

    // The property's whole value, deleted as it is read.
    Reply<xcb_get_property_reply_t> take(xcb_window_t window, xcb_atom_t property, qint64 maxBytes) const
    {
        const uint32_t longs = uint32_t(qMin<qint64>(maxBytes / 4 + 1, 0x3fffffff));
        const auto cookie = xcb_get_property(m_connection, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, longs);
        return {xcb_get_property_reply(m_connection, cookie, nullptr), &std::free};
    }

private:
    xcb_connection_t *m_connection;
    xcb_window_t m_window = 0;
};

QByteArray valueOf(const xcb_get_property_reply_t *reply)
{
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                      xcb_get_property_value_length(reply));
}

X11SelectionReader::Result transfer(Connection &x, const QByteArray &target, qint64 maxBytes,
                                   const QDeadlineTimer &deadline)
{
    using enum X11SelectionReader::Failure;
    const xcb_window_t window = x.window();
    const xcb_atom_t property = x.atom("TARNWICK_SELECTION");
    const xcb_atom_t incr = x.atom("INCR");
    xcb_convert_selection(x.get(), window, x.atom("CLIPBOARD"), x.atom(target.constData()), property,
                          XCB_CURRENT_TIME);
    xcb_flush(x.get());
    const auto notify = x.waitFor(XCB_SELECTION_NOTIFY, deadline);
    if (!notify)
        return {{}, timedOut};
    if (reinterpret_cast<const xcb_selection_notify_event_t *>(notify.get())->property == XCB_ATOM_NONE)
        return {{}, refused};
    const auto first = x.take(window, property, maxBytes);
    xcb_flush(x.get());
    if (!first)
        return {{}, refused};
    if (first->type != incr) {
        if (first->bytes_after > 0)
            return {{}, tooLarge};
        return {valueOf(first.get()), std::nullopt};
    }
    // Deleting the INCR property asked the owner for the pieces; an empty one ends them.
    QByteArray data;
    for (;;) {
        const auto change = x.waitFor(XCB_PROPERTY_NOTIFY, deadline);
        if (!change)
            return {{}, timedOut};
        const auto *event = reinterpret_cast<const xcb_property_notify_event_t *>(change.get());
        if (event->atom != property || event->state != XCB_PROPERTY_NEW_VALUE)
            continue;
        const auto piece = x.take(window, property, maxBytes - data.size());
        xcb_flush(x.get());
        if (!piece)
            return {{}, refused};
        if (piece->bytes_after > 0 || data.size() + xcb_get_property_value_length(piece.get()) > maxBytes)
            return {{}, tooLarge};
        if (xcb_get_property_value_length(piece.get()) == 0)
            return {data, std::nullopt};
        data += valueOf(piece.get());
    }
}

// The names of the atoms in a TARGETS reply, asked for all at once.
QList<QByteArray> atomNames(const Connection &x, const QByteArray &atoms)
{
    QList<xcb_get_atom_name_cookie_t> cookies;
    for (qsizetype at = 0; at + qsizetype(sizeof(xcb_atom_t)) <= atoms.size(); at += sizeof(xcb_atom_t)) {
        xcb_atom_t atom;
        std::memcpy(&atom, atoms.constData() + at, sizeof atom);
        if (atom != XCB_ATOM_NONE)
            cookies << xcb_get_atom_name(x.get(), atom);
    }
    QList<QByteArray> names;
    for (const xcb_get_atom_name_cookie_t &cookie : std::as_const(cookies)) {
        Reply<xcb_get_atom_name_reply_t> reply(xcb_get_atom_name_reply(x.get(), cookie, nullptr), &std::free);
        if (reply)
            names << QByteArray(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()));
    }
    return names;
}

}  // namespace

X11SelectionReader::Result X11SelectionReader::read(const QByteArray &target, qint64 maxBytes, int timeoutMs)
{
    Connection x;
    if (!x.usable())
        return {{}, Failure::noDisplay};
    return transfer(x, target, maxBytes, QDeadlineTimer(timeoutMs));
}

X11SelectionReader::Targets X11SelectionReader::targets(int timeoutMs)
{
    Connection x;
    if (!x.usable())
        return {{}, Failure::noDisplay};
    // A few hundred atoms at most; anything larger is not a real offer.
    constexpr qint64 maxBytes = 64 * 1024;
    const Result read = transfer(x, QByteArrayLiteral("TARGETS"), maxBytes, QDeadlineTimer(timeoutMs));
    if (read.failure)
        return {{}, read.failure};
    return {atomNames(x, read.data), std::nullopt};
}
