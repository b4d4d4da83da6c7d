#include "config/RemoteConfigCache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
const QLatin1String configKey("config");
const QLatin1String fetchedAtKey("fetchedAt");

// The file is tiny; anything much larger was not written by us.
constexpr qint64 maxFileSize = 1 << 20;
}  // namespace

QString RemoteConfigCache::standardStorageDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tarnwick");
}

QString RemoteConfigCache::filePath(const QString &storageDir)
{
    return storageDir + QLatin1Char('/') + fileName;
}

double RemoteConfigCache::secondsSinceReferenceDate(const QDateTime &time)
{
    static const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    return double(reference.msecsTo(time)) / 1000.0;
}

QByteArray RemoteConfigCache::toJson() const
{
    const QJsonObject object{{configKey, config.toJson()}, {fetchedAtKey, fetchedAt}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<RemoteConfigCache> RemoteConfigCache::fromJson(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue fetched = object.value(fetchedAtKey);
    const QJsonValue config = object.value(configKey);
    if (!fetched.isDouble() || !config.isObject())
        return std::nullopt;
    const auto decoded = RemoteConfig::fromJson(config.toObject());
    if (!decoded)
        return std::nullopt;
    return RemoteConfigCache{*decoded, fetched.toDouble()};
}

QByteArray RemoteConfigCache::toFileContents() const
{
    return toJson().toBase64();
}

std::optional<RemoteConfigCache> RemoteConfigCache::fromFileContents(const QByteArray &contents)
{
    const auto decoded = QByteArray::fromBase64Encoding(contents, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return fromJson(*decoded);
}

bool RemoteConfigCache::save(const QString &storageDir) const
{
    QDir().mkpath(storageDir);  // a failure shows up as a failed open below
    QSaveFile file(filePath(storageDir));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(toFileContents());
    return file.commit();
}

std::optional<RemoteConfigCache> RemoteConfigCache::load(const QString &storageDir)
{
    const QString path = filePath(storageDir);
    QFile file(path);
    // Only a regular file: opening a pipe planted under this name would block.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray contents = file.read(maxFileSize + 1);
    if (contents.size() > maxFileSize)
        return std::nullopt;
    return fromFileContents(contents);
}

void RemoteConfigCache::remove(const QString &storageDir)
{
    QFile::remove(filePath(storageDir));
}
