#pragma once

#include "config/RemoteConfigCache.h"
#include "config/RemoteConfigManager.h"
#include "LocalHttpServer.h"

#include <memory>
#include <optional>

// A remote configuration manager that never fetches, holding the given
// configuration (or none) from its cache in dir.
inline std::unique_ptr<RemoteConfigManager> cachedConfigManager(const QString &dir,
                                                                const std::optional<RemoteConfig> &config)
{
    if (config)
        RemoteConfigCache{*config, 0}.save(dir);
    RemoteConfigManager::Settings settings;
    settings.storageDir = dir;
    settings.downloadsDir = dir;
    settings.appVersion = QStringLiteral("1.0");
    settings.tls = TestSupport::LocalHttpServer::trustingClient();
    settings.openFile = [](const QUrl &) {};
    settings.quit = [] {};
    return std::make_unique<RemoteConfigManager>(settings);
}
