#include "desktop/Compositor.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

bool Compositor::isRunning()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return QGuiApplication::platformName() == QLatin1String("wayland");  // Wayland always composites
    xcb_connection_t *connection = x11->connection();
    // A compositing manager owns the _NET_WM_CM_S<screen> selection.
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(0);
    const auto atomCookie = xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData());
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, atomCookie, nullptr), &std::free);
    if (!atom)
        return false;
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr),
        &std::free);
    return owner && owner->owner != XCB_NONE;
}
