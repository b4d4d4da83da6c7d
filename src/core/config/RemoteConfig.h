#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

// The remote configuration document. Field names are the document's keys, so
// the record reads like the JSON it came from.

// Update notice and forced-update gate.
struct RemoteUpdateConfig {
    QString latest_version;
    QString minimum_supported_version;
    QString download_url;
    bool force_update = false;
    bool show_update_banner = false;

    bool operator==(const RemoteUpdateConfig &) const = default;
};

// Feature switches; a feature is on when its flag is true.
struct RemoteFeatureFlags {
    bool qr_code_enabled = true;
    bool ocr_enabled = true;
    bool imgur_upload_enabled = true;
    bool iphone_clipboard_capture_enabled = true;
    bool local_backup_enabled = true;

    bool operator==(const RemoteFeatureFlags &) const = default;
};

struct RemoteMessages {
    QString global_banner;

    bool operator==(const RemoteMessages &) const = default;
};

struct RemoteConfig {
    qint64 version = 0;
    QString updated_at;
    RemoteUpdateConfig updates;
    RemoteFeatureFlags feature_flags;
    RemoteMessages messages;

    bool operator==(const RemoteConfig &) const = default;

    // Strict: every key must be present at every level with its JSON type and
    // "version" must be a whole number that fits 64 bits; unknown keys are
    // ignored. Anything else rejects the whole document.
    static std::optional<RemoteConfig> decode(const QByteArray &json);
    static std::optional<RemoteConfig> fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};
