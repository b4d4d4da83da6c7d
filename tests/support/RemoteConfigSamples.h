#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

// A complete, valid remote configuration document and the paths of its
// required keys, shared by the tests of the decoder.
namespace TestSupport {

inline QJsonObject sampleConfigJson(const QString &downloadUrl = QStringLiteral("https://example.invalid/Tarnwick.dmg"))
{
    return QJsonObject{
        {QStringLiteral("version"), 7},
        {QStringLiteral("updated_at"), QStringLiteral("2024-05-01")},
        {QStringLiteral("updates"),
         QJsonObject{{QStringLiteral("latest_version"), QStringLiteral("2.4.1")},
                     {QStringLiteral("minimum_supported_version"), QStringLiteral("1.0")},
                     {QStringLiteral("download_url"), downloadUrl},
                     {QStringLiteral("force_update"), false},
                     {QStringLiteral("show_update_banner"), true}}},
        {QStringLiteral("feature_flags"),
         QJsonObject{{QStringLiteral("qr_code_enabled"), true},
                     {QStringLiteral("ocr_enabled"), false},
                     {QStringLiteral("imgur_upload_enabled"), true},
                     {QStringLiteral("iphone_clipboard_capture_enabled"), false},
                     {QStringLiteral("local_backup_enabled"), true}}},
        {QStringLiteral("messages"), QJsonObject{{QStringLiteral("global_banner"), QStringLiteral("Hello")}}},
    };
}

inline QByteArray sampleConfigBytes(const QString &downloadUrl = QStringLiteral("https://example.invalid/Tarnwick.dmg"))
{
    return QJsonDocument(sampleConfigJson(downloadUrl)).toJson(QJsonDocument::Compact);
}

// "section/key" for nested keys, "key" at the top level.
inline QStringList requiredConfigKeyPaths()
{
    QStringList paths{QStringLiteral("version"), QStringLiteral("updated_at"), QStringLiteral("updates"),
                      QStringLiteral("feature_flags"), QStringLiteral("messages")};
    const QJsonObject sample = sampleConfigJson();
    for (const QString &section : {QStringLiteral("updates"), QStringLiteral("feature_flags"), QStringLiteral("messages")}) {
        for (const QString &key : sample.value(section).toObject().keys())
            paths << section + QLatin1Char('/') + key;
    }
    return paths;
}

// Applies edit to the value at path ("section/key" or "key") of document.
template <typename Edit>
QJsonObject editedAt(QJsonObject document, const QString &path, Edit edit)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() == 1) {
        edit(document, parts[0]);
        return document;
    }
    QJsonObject section = document.value(parts[0]).toObject();
    edit(section, parts[1]);
    document.insert(parts[0], section);
    return document;
}

}  // namespace TestSupport
