// The remote configuration as it arrives from the server and as it comes back
// from the cache file.

#include "FuzzTargets.h"

#include "config/RemoteConfigCache.h"

#include <QJsonDocument>

int fuzzRemoteConfig(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), qsizetype(size));
    // Whatever is accepted survives its own encoding unchanged.
    const auto config = RemoteConfig::decode(json);
    if (config)
        FUZZ_REQUIRE(RemoteConfig::decode(QJsonDocument(config->toJson()).toJson(QJsonDocument::Compact)) == config);
    const auto cache = RemoteConfigCache::fromJson(json);
    if (cache)
        FUZZ_REQUIRE(RemoteConfigCache::fromFileContents(cache->toFileContents()) == cache);
    return config || cache ? 1 : 0;
}
