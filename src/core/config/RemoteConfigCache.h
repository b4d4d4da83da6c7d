#pragma once

#include "config/RemoteConfig.h"

#include <QDateTime>
#include <QString>

#include <optional>

// The last good configuration and when it arrived, kept between runs in the
// file ".rc": the record as JSON, Base64-encoded, replaced atomically.
struct RemoteConfigCache {
    RemoteConfig config;
    double fetchedAt = 0;  // seconds since 2001-01-01 00:00:00 UTC

    bool operator==(const RemoteConfigCache &) const = default;

    static constexpr QLatin1String fileName{".rc"};

    // $XDG_DATA_HOME/Tarnwick
    static QString standardStorageDir();
    static QString filePath(const QString &storageDir);
    static double secondsSinceReferenceDate(const QDateTime &time);

    QByteArray toJson() const;
    static std::optional<RemoteConfigCache> fromJson(const QByteArray &json);

    // The file's contents: Base64 text of the JSON, without line breaks.
    QByteArray toFileContents() const;
    static std::optional<RemoteConfigCache> fromFileContents(const QByteArray &contents);

    // Creates the folder if needed; false when the file could not be written.
    bool save(const QString &storageDir) const;
    // Any failure (no file, bad Base64, bad JSON, missing field) means no cache.
    static std::optional<RemoteConfigCache> load(const QString &storageDir);
    static void remove(const QString &storageDir);
};
