#include "X11Probe.h"

#include <QProcess>
#include <QTest>

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
    m_connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_connection))
        qFatal("no X server");
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
}

X11Probe::~X11Probe()
{
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

QList<X11Probe::Window> X11Probe::viewableWindows() const
{
    QList<Window> windows;
    collect(m_root, windows);
    return windows;
}

void X11Probe::collect(std::uint32_t parent, QList<Window> &into) const
{
    const std::uint32_t nameAtom = atom("_NET_WM_NAME");
    auto tree = owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, parent), nullptr));
    for (int i = 0; tree && i < xcb_query_tree_children_length(tree.get()); ++i) {
        const xcb_window_t id = xcb_query_tree_children(tree.get())[i];
        auto attributes = owned(
            xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, id), nullptr));
        auto geometry = owned(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, id), nullptr));
        auto origin = owned(xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, id, m_root, 0, 0), nullptr));
        auto name = owned(xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, id, nameAtom, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE || !geometry || !origin || !name)
            continue;  // unmapped, or gone meanwhile
        into << Window{QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height),
                       QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(name.get())),
                                         xcb_get_property_value_length(name.get())),
                       parent == m_root};
        collect(id, into);
    }
}

bool X11Probe::hasFocus(const QString &title) const
{
    auto focus = owned(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    xcb_window_t window = focus ? focus->focus : xcb_window_t(XCB_WINDOW_NONE);
    // Up to the window that sits on the root, which carries the title.
    while (window != XCB_WINDOW_NONE && window != m_root) {
        auto tree = owned(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
        if (!tree || tree->parent == m_root)
            break;
        window = tree->parent;
    }
    if (window == XCB_WINDOW_NONE || window == m_root || window == XCB_INPUT_FOCUS_POINTER_ROOT)
        return false;
    auto name = owned(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, atom("_NET_WM_NAME"), XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
        nullptr));
    return name
        && QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(name.get())),
                             xcb_get_property_value_length(name.get()))
        == title;
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
    import.start(QStringLiteral("import"), QStringLiteral("-window root -crop %1x%2+%3+%4 +repage png:-")
                                               .arg(area.width()).arg(area.height()).arg(area.x()).arg(area.y())
                                               .split(u' '));
    if (!import.waitForFinished(15000) || import.exitCode() != 0)
        return {};
    return QImage::fromData(import.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

QList<QRect> X11Probe::windows(const QString &title, bool topLevel, const std::function<bool(QRect)> &where) const
{
    QList<QRect> found;
    for (const Window &shown : viewableWindows()) {
        if (shown.topLevel == topLevel && shown.name == title && (!where || where(shown.geometry)))
            found << shown.geometry;
    }
    return found;
}

QStringList X11Probe::titles() const
{
    QStringList found;
    for (const Window &shown : viewableWindows()) {
        if (shown.topLevel && !shown.name.isEmpty())
            found << shown.name;
    }
    return found;
}

std::optional<QRect> X11Probe::find(const QString &title, bool topLevel, const std::function<bool(QRect)> &where) const
{
    const QList<QRect> found = windows(title, topLevel, where);
    return found.isEmpty() ? std::nullopt : std::optional(found.first());
}

void X11Probe::xdotool(const QString &command)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), command.split(u' ', Qt::SkipEmptyParts));
    QVERIFY2(process.waitForFinished(10000), "xdotool did not finish");
    QCOMPARE(process.exitCode(), 0);
}
