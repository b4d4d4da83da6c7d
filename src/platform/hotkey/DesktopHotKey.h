#pragma once

#include "shell/GlobalHotKey.h"

#include <QLoggingCategory>

#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcHotKey)

// The ways of claiming the chord that fit this session, best first: on X11 a
// key grab, then KDE's shortcut service, then the GlobalShortcuts portal. On
// a Wayland session a grab through XWayland only sees keys while one of its
// own windows has focus, so there the desktop services come first.
namespace DesktopHotKey {

bool isWaylandSession();
std::unique_ptr<GlobalHotKey> create(QObject *parent = nullptr);

}  // namespace DesktopHotKey
