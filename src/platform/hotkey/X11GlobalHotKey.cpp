#include "hotkey/X11GlobalHotKey.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMetaObject>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

#include "hotkey/DesktopHotKey.h"

namespace {

constexpr xcb_keysym_t spaceKeysym = 0x0020;
constexpr xcb_keysym_t numLockKeysym = 0xff7f;
constexpr std::uint16_t chordMask = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;
// Modifiers that take part in the comparison; the lock modifiers do not.
constexpr std::uint16_t relevantMask = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> owned(T *reply)
{
    return Reply<T>(reply, &std::free);
}

// All keycodes whose mapping carries keysym, in any column.
std::vector<xcb_keycode_t> keycodesFor(xcb_connection_t *connection, xcb_keysym_t keysym)
{
    const xcb_setup_t *setup = xcb_get_setup(connection);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto reply = owned(xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, std::uint8_t(count)), nullptr));
    std::vector<xcb_keycode_t> codes;
    if (!reply)
        return codes;
    const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int perCode = reply->keysyms_per_keycode;
    for (int code = 0; code < count; ++code) {
        for (int column = 0; column < perCode; ++column) {
            if (syms[code * perCode + column] == keysym) {
                codes.push_back(xcb_keycode_t(setup->min_keycode + code));
                break;
            }
        }
    }
    return codes;
}

// The modifier bit that Num Lock sets; Mod2 on nearly every layout.
std::uint16_t numLockMask(xcb_connection_t *connection)
{
    const std::vector<xcb_keycode_t> numLock = keycodesFor(connection, numLockKeysym);
    auto reply = owned(xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!reply || numLock.empty())
        return XCB_MOD_MASK_2;
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(reply.get());
    const int perModifier = reply->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            for (xcb_keycode_t code : numLock) {
                if (code != 0 && codes[modifier * perModifier + i] == code)
                    return std::uint16_t(1u << modifier);
            }
        }
    }
    return XCB_MOD_MASK_2;
}

}  // namespace

X11GlobalHotKey::X11GlobalHotKey(QObject *parent)
    : GlobalHotKey(parent)
{
}

X11GlobalHotKey::~X11GlobalHotKey()
{
    if (!m_grabbed)
        return;
    QCoreApplication::instance()->removeNativeEventFilter(this);
    ungrabAll();
    xcb_flush(m_connection);
}

bool X11GlobalHotKey::registerHotKey()
{
    if (m_grabbed)
        return true;
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) {
        qCDebug(lcHotKey) << "not on X11; no key grab";
        return false;
    }
    m_connection = x11->connection();
    if (!resolveKeys())
        return false;
    if (!grabAll()) {
        qCWarning(lcHotKey).noquote()
            << "Ctrl+Shift+Space is taken by another program; bind `tarnwick --toggle` to a key in the desktop's"
               " keyboard settings instead";
        return false;
    }
    m_grabbed = true;
    QCoreApplication::instance()->installNativeEventFilter(this);
    return true;
}

bool X11GlobalHotKey::resolveKeys()
{
    const std::vector<xcb_keycode_t> space = keycodesFor(m_connection, spaceKeysym);
    if (space.empty()) {
        qCWarning(lcHotKey) << "the keyboard map has no Space key; no key grab";
        return false;
    }
    m_keycode = space.front();
    m_numLockMask = numLockMask(m_connection);
    m_roots.clear();
    for (auto it = xcb_setup_roots_iterator(xcb_get_setup(m_connection)); it.rem; xcb_screen_next(&it))
        m_roots.push_back(it.data->root);
    return true;
}

bool X11GlobalHotKey::grabAll()
{
    const std::array<std::uint16_t, 4> locks{0, XCB_MOD_MASK_LOCK, m_numLockMask,
                                             std::uint16_t(XCB_MOD_MASK_LOCK | m_numLockMask)};
    std::vector<xcb_void_cookie_t> cookies;
    for (xcb_window_t root : m_roots) {
        for (std::uint16_t lock : locks)
            cookies.push_back(xcb_grab_key_checked(m_connection, 1, root, std::uint16_t(chordMask | lock), m_keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool all = true;
    for (xcb_void_cookie_t cookie : cookies) {
        if (auto error = owned(xcb_request_check(m_connection, cookie))) {
            qCDebug(lcHotKey) << "grab refused, X error" << error->error_code;
            all = false;
        }
    }
    if (!all)
        ungrabAll();  // half a grab would work only in some lock states
    return all;
}

void X11GlobalHotKey::ungrabAll()
{
    const std::array<std::uint16_t, 4> locks{0, XCB_MOD_MASK_LOCK, m_numLockMask,
                                             std::uint16_t(XCB_MOD_MASK_LOCK | m_numLockMask)};
    for (xcb_window_t root : m_roots) {
        for (std::uint16_t lock : locks)
            xcb_ungrab_key(m_connection, m_keycode, root, std::uint16_t(chordMask | lock));
    }
}

bool X11GlobalHotKey::isRoot(std::uint32_t window) const
{
    return std::find(m_roots.begin(), m_roots.end(), window) != m_roots.end();
}

bool X11GlobalHotKey::matches(std::uint8_t keycode, std::uint16_t state) const
{
    return keycode == m_keycode && (state & relevantMask) == chordMask;
}

bool X11GlobalHotKey::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == XCB_KEY_PRESS) {
        const auto *key = static_cast<const xcb_key_press_event_t *>(message);
        if (!matches(key->detail, key->state))
            return false;
        if (m_down)
            return true;  // auto-repeat of a held chord
        // Through the root grab the release is sure to come back here, so the
        // press can wait for it. While one of our popups holds the keyboard the
        // chord arrives as an ordinary key press and closing the popup sends
        // the release elsewhere: nothing to wait for then.
        m_down = isRoot(key->event);
        QMetaObject::invokeMethod(this, &GlobalHotKey::activated, Qt::QueuedConnection);
        return true;
    }
    if (type == XCB_KEY_RELEASE && m_down) {
        const auto *key = static_cast<const xcb_key_release_event_t *>(message);
        if (key->detail != m_keycode)
            return false;
        m_down = false;
        return true;
    }
    return false;
}
