#include "config/RemoteConfig.h"

#include <QJsonDocument>
#include <QJsonValue>

namespace {

// Reads required members of one JSON object and remembers whether any was
// missing or of the wrong type, so a decoder can read every field in one go
// and reject the object at the end.
class RequiredFields
{
public:
    explicit RequiredFields(const QJsonObject &object)
        : m_object(object)
    {
    }

    bool ok() const { return m_ok; }

    QString string(QLatin1String key)
    {
        const QJsonValue value = m_object.value(key);
        m_ok = m_ok && value.isString();
        return value.toString();
    }

    bool boolean(QLatin1String key)
    {
        const QJsonValue value = m_object.value(key);
        m_ok = m_ok && value.isBool();
        return value.toBool();
    }

    // A number with an integral value that fits qint64 (3 and 3.0, not 3.5).
    qint64 integer(QLatin1String key)
    {
        const QJsonValue value = m_object.value(key);
        // toInteger() falls back to its argument for anything that is not a
        // representable whole number; two different fallbacks expose that.
        const qint64 low = value.toInteger(0);
        m_ok = m_ok && value.isDouble() && low == value.toInteger(1);
        return low;
    }

    QJsonObject object(QLatin1String key)
    {
        const QJsonValue value = m_object.value(key);
        m_ok = m_ok && value.isObject();
        return value.toObject();
    }

private:
    const QJsonObject &m_object;
    bool m_ok = true;
};

std::optional<RemoteUpdateConfig> decodeUpdates(const QJsonObject &json)
{
    RequiredFields in(json);
    RemoteUpdateConfig updates;
    updates.latest_version = in.string(QLatin1String("latest_version"));
    updates.minimum_supported_version = in.string(QLatin1String("minimum_supported_version"));
    updates.download_url = in.string(QLatin1String("download_url"));
    updates.force_update = in.boolean(QLatin1String("force_update"));
    updates.show_update_banner = in.boolean(QLatin1String("show_update_banner"));
    return in.ok() ? std::optional(updates) : std::nullopt;
}

std::optional<RemoteFeatureFlags> decodeFlags(const QJsonObject &json)
{
    RequiredFields in(json);
    RemoteFeatureFlags flags;
    flags.qr_code_enabled = in.boolean(QLatin1String("qr_code_enabled"));
    flags.ocr_enabled = in.boolean(QLatin1String("ocr_enabled"));
    flags.imgur_upload_enabled = in.boolean(QLatin1String("imgur_upload_enabled"));
    flags.iphone_clipboard_capture_enabled = in.boolean(QLatin1String("iphone_clipboard_capture_enabled"));
    flags.local_backup_enabled = in.boolean(QLatin1String("local_backup_enabled"));
    return in.ok() ? std::optional(flags) : std::nullopt;
}

std::optional<RemoteMessages> decodeMessages(const QJsonObject &json)
{
    RequiredFields in(json);
    RemoteMessages messages;
    messages.global_banner = in.string(QLatin1String("global_banner"));
    return in.ok() ? std::optional(messages) : std::nullopt;
}

QJsonObject encode(const RemoteUpdateConfig &updates)
{
    return {
        {QLatin1String("latest_version"), updates.latest_version},
        {QLatin1String("minimum_supported_version"), updates.minimum_supported_version},
        {QLatin1String("download_url"), updates.download_url},
        {QLatin1String("force_update"), updates.force_update},
        {QLatin1String("show_update_banner"), updates.show_update_banner},
    };
}

QJsonObject encode(const RemoteFeatureFlags &flags)
{
    return {
        {QLatin1String("qr_code_enabled"), flags.qr_code_enabled},
        {QLatin1String("ocr_enabled"), flags.ocr_enabled},
        {QLatin1String("imgur_upload_enabled"), flags.imgur_upload_enabled},
        {QLatin1String("iphone_clipboard_capture_enabled"), flags.iphone_clipboard_capture_enabled},
        {QLatin1String("local_backup_enabled"), flags.local_backup_enabled},
    };
}

}  // namespace

std::optional<RemoteConfig> RemoteConfig::decode(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return fromJson(document.object());
}

std::optional<RemoteConfig> RemoteConfig::fromJson(const QJsonObject &object)
{
    RequiredFields in(object);
    RemoteConfig config;
    config.version = in.integer(QLatin1String("version"));
    config.updated_at = in.string(QLatin1String("updated_at"));
    const auto updates = decodeUpdates(in.object(QLatin1String("updates")));
    const auto flags = decodeFlags(in.object(QLatin1String("feature_flags")));
    const auto messages = decodeMessages(in.object(QLatin1String("messages")));
    if (!in.ok() || !updates || !flags || !messages)
        return std::nullopt;
    config.updates = *updates;
    config.feature_flags = *flags;
    config.messages = *messages;
    return config;
}

QJsonObject RemoteConfig::toJson() const
{
    return {
        {QLatin1String("version"), version},
        {QLatin1String("updated_at"), updated_at},
        {QLatin1String("updates"), encode(updates)},
        {QLatin1String("feature_flags"), encode(feature_flags)},
        {QLatin1String("messages"), QJsonObject{{QLatin1String("global_banner"), messages.global_banner}}},
    };
}
