#pragma once

#include "shell/GlobalHotKey.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <vector>

// The chord as a passive key grab on every root window of the X server, with
// the Caps Lock and Num Lock variants so that lock states do not hide it.
// Key events reach it through the application's native event filter.
class X11GlobalHotKey : public GlobalHotKey, public QAbstractNativeEventFilter
{
    Q_OBJECT
public:
    explicit X11GlobalHotKey(QObject *parent = nullptr);
    ~X11GlobalHotKey() override;

    // False off X11, without a key for Space, or when another client holds
    // the grab (the X server then answers BadAccess).
    bool registerHotKey() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    bool resolveKeys();
    bool grabAll();
    void ungrabAll();
    bool matches(std::uint8_t keycode, std::uint16_t state) const;
    bool isRoot(std::uint32_t window) const;

    struct xcb_connection_t *m_connection = nullptr;
    std::vector<std::uint32_t> m_roots;
    std::uint8_t m_keycode = 0;
    std::uint16_t m_numLockMask = 0;
    bool m_grabbed = false;
    bool m_down = false;  // a held chord auto-repeats; it toggles once per press
};
