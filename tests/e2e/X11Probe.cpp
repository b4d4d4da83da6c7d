#include "X11Probe.h"

#include <QProcess>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

template <typename T>
std::unique_ptr<T, decltype(&std::free)> owned(T *reply)
{
    return {reply, &std::free};
}

}  // namespace

X11Probe::X11Probe()
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    m_connection = connection;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

X11Probe::~X11Probe()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

std::uint32_t X11Probe::atom(const char *name) const
{
    auto reply = owned(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, std::uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : std::uint32_t(XCB_ATOM_NONE);
}

bool X11Probe::hasSelectionOwner(const char *selection) const
{
    auto reply = owned(
        xcb_get_selection_owner_reply(m_connection, xcb_get_selection_owner(m_connection, atom(selection)), nullptr));
    return reply && reply->owner != XCB_WINDOW_NONE;
}

QString X11Probe::nameOf(std::uint32_t window) const
{
    static const std::uint32_t netWmName = atom("_NET_WM_NAME");
    for (std::uint32_t property : {netWmName, std::uint32_t(XCB_ATOM_WM_NAME)}) {
        auto reply = owned(xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr));
        if (reply && xcb_get_property_value_length(reply.get()) > 0)
            return QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(reply.get())),
                                     xcb_get_property_value_length(reply.get()));
    }
    return {};
}

QList<std::uint32_t> X11Probe::children(std::uint32_t window) const
{
    auto reply = owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
    QList<std::uint32_t> list;
    if (!reply)
        return list;
    const xcb_window_t *ids = xcb_query_tree_children(reply.get());
    for (int i = 0; i < xcb_query_tree_children_length(reply.get()); ++i)
        list << ids[i];
    return list;
}

std::optional<bool> X11Probe::viewableOverride(std::uint32_t window) const
{
    auto reply = owned(xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, window),
                                                       nullptr));
    if (!reply || reply->map_state != XCB_MAP_STATE_VIEWABLE)
        return std::nullopt;
    return reply->override_redirect != 0;
}

QRect X11Probe::screenGeometry(std::uint32_t window) const
{
    auto geometry = owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
    auto origin = owned(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, window, m_root, 0, 0), nullptr));
    if (!geometry || !origin)
        return {};
    return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
}

QList<X11Probe::Window> X11Probe::mappedTopLevels() const
{
    QList<Window> windows;
    for (std::uint32_t id : children(m_root)) {
        if (const std::optional<bool> bypass = viewableOverride(id))
            windows << Window{id, screenGeometry(id), nameOf(id), *bypass};
    }
    return windows;
}

std::optional<X11Probe::Window> X11Probe::findBelow(std::uint32_t window, const QString &name, int depth) const
{
    for (std::uint32_t id : children(window)) {
        if (!viewableOverride(id))
            continue;
        if (depth > 0 && nameOf(id) == name)
            return Window{id, screenGeometry(id), name};
        if (auto found = findBelow(id, name, depth + 1))
            return found;
    }
    return std::nullopt;
}

std::optional<X11Probe::Window> X11Probe::findEmbedded(const QString &name) const
{
    return findBelow(m_root, name, 0);
}

bool X11Probe::grabKey(std::uint32_t keysym, std::uint16_t modifiers)
{
    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto mapping = owned(xcb_get_keyboard_mapping_reply(
        m_connection, xcb_get_keyboard_mapping(m_connection, setup->min_keycode, std::uint8_t(count)), nullptr));
    if (!mapping)
        return false;
    const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    for (int code = 0; code < count; ++code) {
        if (syms[code * mapping->keysyms_per_keycode] != keysym)
            continue;
        const auto cookie = xcb_grab_key_checked(m_connection, 1, m_root, modifiers,
                                                 xcb_keycode_t(setup->min_keycode + code), XCB_GRAB_MODE_ASYNC,
                                                 XCB_GRAB_MODE_ASYNC);
        return !owned(xcb_request_check(m_connection, cookie));
    }
    return false;
}

QImage X11Probe::screenshot(const QRect &area)
{
    QProcess import;
    const QString crop = QStringLiteral("%1x%2+%3+%4").arg(area.width()).arg(area.height()).arg(area.x()).arg(area.y());
    import.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                                           crop, QStringLiteral("+repage"), QStringLiteral("png:-")});
    if (!import.waitForFinished(15000) || import.exitCode() != 0)
        return {};
    return QImage::fromData(import.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}
