#include "hotkey/DesktopHotKey.h"

#include "hotkey/KGlobalAccelHotKey.h"
#include "hotkey/PortalGlobalHotKey.h"
#include "hotkey/X11GlobalHotKey.h"
#include "shell/GlobalHotKeyChain.h"

Q_LOGGING_CATEGORY(lcHotKey, "tarnwick.hotkey", QtInfoMsg)

namespace DesktopHotKey {

bool isWaylandSession()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

std::unique_ptr<GlobalHotKey> create(QObject *parent)
{
    std::vector<std::unique_ptr<GlobalHotKey>> ways;
    if (!isWaylandSession())
        ways.push_back(std::make_unique<X11GlobalHotKey>());
    ways.push_back(std::make_unique<KGlobalAccelHotKey>());
    ways.push_back(std::make_unique<PortalGlobalHotKey>());
    if (isWaylandSession())
        ways.push_back(std::make_unique<X11GlobalHotKey>());
    return std::make_unique<GlobalHotKeyChain>(std::move(ways), parent);
}

}  // namespace DesktopHotKey
