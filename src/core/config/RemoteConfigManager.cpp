#include "config/RemoteConfigManager.h"

#include "config/RemoteConfigCache.h"
#include "config/VersionComparison.h"
#include "upload/NetworkReplies.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QUrlQuery>

Q_LOGGING_CATEGORY(lcConfig, "tarnwick.config", QtInfoMsg)

namespace {

constexpr qsizetype maxFileNameBytes = 255;

QString percentDecodedUntilStable(QString text)
{
    // Decoding again until nothing changes leaves no "%2F" or "%252F" behind
    // that a later decode could turn into a separator.
    for (QString decoded = QUrl::fromPercentEncoding(text.toUtf8()); decoded != text;
         decoded = QUrl::fromPercentEncoding(text.toUtf8()))
        text = decoded;
    return text;
}

bool isInvisible(QChar c)
{
    return c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
}

QString plainFileName(QString name)
{
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    name.removeIf(isInvisible);
    while (name.contains(QLatin1String("..")))
        name.replace(QLatin1String(".."), QLatin1String("."));
    while (!name.isEmpty() && (name.front() == QLatin1Char('.') || name.front().isSpace()))
        name.remove(0, 1);
    name = name.trimmed();
    while (name.toUtf8().size() > maxFileNameBytes)
        name.chop(name.back().isLowSurrogate() ? 2 : 1);
    return name;
}

}  // namespace

RemoteConfigManager::Settings RemoteConfigManager::standardSettings()
{
    Settings settings;
    settings.remoteUrl = QUrl(QStringLiteral(TARNWICK_REMOTE_CONFIG_URL));
    settings.storageDir = RemoteConfigCache::standardStorageDir();
    settings.downloadsDir = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    settings.openFile = [](const QUrl &file) { QDesktopServices::openUrl(file); };
    settings.quit = [] { QCoreApplication::quit(); };
    return settings;
}

RemoteConfigManager &RemoteConfigManager::shared()
{
    // A function-local static is initialised once even under concurrent first
    // access; the object then belongs to the application's thread.
    static RemoteConfigManager *const instance = [] {
        QCoreApplication *app = QCoreApplication::instance();
        Q_ASSERT(app);
        auto *manager = new RemoteConfigManager(standardSettings());
        manager->moveToThread(app->thread());
        // Parenting tells the parent, which must happen on the parent's thread.
        QMetaObject::invokeMethod(app, [manager, app] { manager->setParent(app); },
                                  QThread::currentThread() == app->thread() ? Qt::DirectConnection
                                                                            : Qt::QueuedConnection);
        return manager;
    }();
    return *instance;
}

QString RemoteConfigManager::appVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("1.0") : version;
}

RemoteConfigManager::RemoteConfigManager(Settings settings, QObject *parent)
    : QObject(parent)
    , m_settings(std::move(settings))
    , m_network(new QNetworkAccessManager(this))
    , m_pool(new QThreadPool(this))
{
    if (m_settings.appVersion.isEmpty())
        m_settings.appVersion = appVersion();
    m_pool->setMaxThreadCount(1);
    if (const auto cache = RemoteConfigCache::load(m_settings.storageDir)) {
        m_config = cache->config;
    } else if (const QString file = RemoteConfigCache::filePath(m_settings.storageDir); QFileInfo::exists(file)) {
        // Dropped, so it is reported this once and not at every launch.
        qCWarning(lcConfig).noquote() << "the configuration cache" << file << "is damaged; starting without it";
        RemoteConfigCache::remove(m_settings.storageDir);
    }
    QMetaObject::invokeMethod(this, &RemoteConfigManager::fetchRemote, Qt::QueuedConnection);
}

RemoteConfigManager::~RemoteConfigManager()
{
    // Pool tasks post back to this object; once they are done nothing can.
    m_pool->waitForDone();
}

bool RemoteConfigManager::isFeatureEnabled(bool RemoteFeatureFlags::*flag) const
{
    return !m_config || m_config->feature_flags.*flag;
}

bool RemoteConfigManager::shouldShowUpdateBanner() const
{
    return m_config && m_config->updates.show_update_banner
        && isOutdated(m_settings.appVersion, m_config->updates.latest_version);
}

bool RemoteConfigManager::shouldForceUpdate() const
{
    return m_config && m_config->updates.force_update
        && isOutdated(m_settings.appVersion, m_config->updates.minimum_supported_version);
}

bool RemoteConfigManager::isOutdated(QStringView current, QStringView than)
{
    return VersionComparison::isOutdated(current, than);
}

QUrl RemoteConfigManager::cacheBustedUrl(const QUrl &location, qint64 unixSeconds)
{
    QUrl url = location;
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("_t"), QString::number(unixSeconds));
    url.setQuery(query);
    return url;
}

QString RemoteConfigManager::installerFileName(const QUrl &downloadUrl)
{
    const QStringList segments = downloadUrl.path(QUrl::FullyEncoded).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const QString name = segments.isEmpty() ? QString() : plainFileName(percentDecodedUntilStable(segments.last()));
    return name.isEmpty() ? QString(defaultInstallerName) : name;
}

void RemoteConfigManager::fetchRemote()
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, &RemoteConfigManager::fetchRemote, Qt::QueuedConnection);
        return;
    }
    if (!NetworkReplies::isHttpsUrl(m_settings.remoteUrl)) {
        qCDebug(lcConfig) << "no https configuration location; not fetching";
        return;
    }
    const QUrl url = cacheBustedUrl(m_settings.remoteUrl, QDateTime::currentSecsSinceEpoch());
    QNetworkRequest request = NetworkReplies::request(url, m_settings.fetchTimeout, m_settings.tls);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    QNetworkReply *reply = m_network->get(request);
    NetworkReplies::limitBody(reply, m_settings.maxConfigBytes);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onFetchReply(reply); });
}

void RemoteConfigManager::onFetchReply(QNetworkReply *reply)
{
    reply->deleteLater();
    if (NetworkReplies::transferFailed(*reply) || NetworkReplies::exceededLimit(*reply)) {
        qCInfo(lcConfig) << "configuration fetch failed:" << reply->errorString();
        Q_EMIT fetchFinished();
        return;
    }
    // The status code is not looked at: a body that decodes is a configuration.
    const QByteArray body = reply->readAll();
    const QString storageDir = m_settings.storageDir;
    m_pool->start([this, body, storageDir] {
        const std::optional<RemoteConfig> fetched = RemoteConfig::decode(body);
        if (!fetched) {
            qCInfo(lcConfig) << "configuration did not decode; dropping the cache";
            RemoteConfigCache::remove(storageDir);
        } else {
            const double now = RemoteConfigCache::secondsSinceReferenceDate(QDateTime::currentDateTimeUtc());
            if (!RemoteConfigCache{*fetched, now}.save(storageDir))
                qCInfo(lcConfig) << "could not write the configuration cache in" << storageDir;
        }
        // Safe: the destructor waits for this pool before the object goes away.
        QMetaObject::invokeMethod(this, [this, fetched] { publishFetched(fetched); }, Qt::QueuedConnection);
    });
}

void RemoteConfigManager::publishFetched(const std::optional<RemoteConfig> &fetched)
{
    if (fetched)
        setConfig(*fetched);
    Q_EMIT fetchFinished();
}

void RemoteConfigManager::setConfig(const RemoteConfig &config)
{
    if (m_config == config)
        return;
    m_config = config;
    Q_EMIT configChanged();
}

void RemoteConfigManager::setDownloadProgress(std::optional<double> progress)
{
    if (m_downloadProgress == progress)
        return;
    m_downloadProgress = progress;
    Q_EMIT downloadProgressChanged();
}

void RemoteConfigManager::downloadAndInstallUpdate()
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, &RemoteConfigManager::downloadAndInstallUpdate, Qt::QueuedConnection);
        return;
    }
    if (!m_config)
        return;
    const QUrl url(m_config->updates.download_url, QUrl::StrictMode);
    if (!NetworkReplies::isHttpsUrl(url) || m_downloadProgress)
        return;
    m_download = openDownloadFile();
    if (!m_download)
        return;
    setDownloadProgress(0.0);
    QNetworkReply *reply = m_network->get(NetworkReplies::request(url, m_settings.downloadTimeout, m_settings.tls));
    NetworkReplies::limitBody(reply, m_settings.maxInstallerBytes);
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { writeDownloadChunk(reply); });
    const QString fileName = installerFileName(url);
    connect(reply, &QNetworkReply::finished, this, [this, reply, fileName] { finishDownload(reply, fileName); });
}

std::unique_ptr<QTemporaryFile> RemoteConfigManager::openDownloadFile() const
{
    // Received into the Downloads folder itself, so that placing the finished
    // file is a rename within one file system.
    if (m_settings.downloadsDir.isEmpty() || !QDir().mkpath(m_settings.downloadsDir))
        return nullptr;
    auto file = std::make_unique<QTemporaryFile>(
        QDir(m_settings.downloadsDir).filePath(QStringLiteral(".tarnwick-download-XXXXXX")));
    if (!file->open()) {
        qCInfo(lcConfig) << "cannot write into" << m_settings.downloadsDir;
        return nullptr;
    }
    return file;
}

QString RemoteConfigManager::destinationFor(const QString &fileName) const
{
    const QString folder = QFileInfo(m_settings.downloadsDir).absoluteFilePath();
    const QString destination = QDir(folder).filePath(fileName);
    const QFileInfo info(destination);
    return info.absolutePath() == folder && info.fileName() == fileName ? destination : QString();
}

void RemoteConfigManager::writeDownloadChunk(QNetworkReply *reply)
{
    if (m_download && m_download->write(reply->readAll()) < 0)
        reply->abort();  // e.g. a full disk: finishDownload sees the abort
}

void RemoteConfigManager::finishDownload(QNetworkReply *reply, const QString &fileName)
{
    reply->deleteLater();
    const std::unique_ptr<QTemporaryFile> file = std::move(m_download);
    // Unlike a configuration, an error page is never an installer.
    bool placed = file && reply->error() == QNetworkReply::NoError && !NetworkReplies::exceededLimit(*reply)
        && file->write(reply->readAll()) >= 0 && file->flush();
    const QString destination = destinationFor(fileName);
    if (placed && !destination.isEmpty()) {
        const QFileInfo existing(destination);
        if (existing.isSymLink() || existing.isFile())
            QFile::remove(destination);  // a failure here makes the rename fail
        placed = file->rename(destination);
        file->setAutoRemove(!placed);
    } else {
        placed = false;
    }
    setDownloadProgress(std::nullopt);
    if (!placed) {
        qCInfo(lcConfig) << "update download failed:" << reply->errorString();
        return;
    }
    m_settings.openFile(QUrl::fromLocalFile(destination));
    QTimer::singleShot(m_settings.quitDelay, this, [this] { m_settings.quit(); });
}
