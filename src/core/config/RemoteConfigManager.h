#pragma once

#include "config/RemoteConfig.h"

#include <QObject>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QTemporaryFile;
class QThreadPool;

// Obtains the remote configuration, keeps the last good copy on disk,
// publishes it, answers the update questions and downloads the installer.
// config and downloadProgress change only on the object's (the main) thread;
// decoding and cache writes run on a private one-thread pool, in the order the
// responses arrived, so the last successful fetch wins in memory and on disk.
class RemoteConfigManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(std::optional<RemoteConfig> config READ config NOTIFY configChanged)
    Q_PROPERTY(std::optional<double> downloadProgress READ downloadProgress NOTIFY downloadProgressChanged)
    Q_PROPERTY(bool shouldShowUpdateBanner READ shouldShowUpdateBanner NOTIFY configChanged)
    Q_PROPERTY(bool shouldForceUpdate READ shouldForceUpdate NOTIFY configChanged)

public:
    static constexpr QLatin1String defaultInstallerName{"Tarnwick.dmg"};
    // Kept with the cache but not consulted: the cache is used whatever its age.
    static constexpr double cacheValiditySeconds = 86400;

    struct Settings {
        QUrl remoteUrl;        // https only; anything else, or empty, means never fetch
        QString storageDir;    // holds the ".rc" cache
        QString downloadsDir;  // where the installer lands
        QString appVersion;    // the running version; empty: appVersion()
        std::optional<QSslConfiguration> tls;  // trust for both transfers; none: the system's
        std::chrono::milliseconds fetchTimeout{5000};
        std::chrono::milliseconds downloadTimeout{60000};
        std::chrono::milliseconds quitDelay{500};
        qint64 maxConfigBytes = 1LL << 20;     // a larger configuration fails like a failed fetch
        qint64 maxInstallerBytes = 2LL << 30;  // a larger installer fails like a failed download
        std::function<void(const QUrl &)> openFile;
        std::function<void()> quit;
    };

    // The build's configuration location, the user's folders, the desktop's
    // file opener and application quit.
    static Settings standardSettings();
    // The process-wide instance with standardSettings(), created on first use
    // (a QCoreApplication must exist) and owned by the application.
    static RemoteConfigManager &shared();
    // The application version, "1.0" when none is set.
    static QString appVersion();

    // Loads the cache whatever its age (a damaged one is dropped, with one
    // warning) and queues the first fetch.
    explicit RemoteConfigManager(Settings settings, QObject *parent = nullptr);
    ~RemoteConfigManager() override;

    const std::optional<RemoteConfig> &config() const { return m_config; }
    std::optional<double> downloadProgress() const { return m_downloadProgress; }
    const QUrl &remoteUrl() const { return m_settings.remoteUrl; }
    const QString &runningVersion() const { return m_settings.appVersion; }

    // A feature is offered when no configuration is held or its flag is true.
    bool isFeatureEnabled(bool RemoteFeatureFlags::*flag) const;
    bool shouldShowUpdateBanner() const;
    bool shouldForceUpdate() const;

    static bool isOutdated(QStringView current, QStringView than);
    // The request for one fetch: the location with its query replaced by "_t".
    static QUrl cacheBustedUrl(const QUrl &location, qint64 unixSeconds);
    // A plain file name taken from the URL's last path segment, safe to put in
    // the Downloads folder; defaultInstallerName when nothing usable is left.
    static QString installerFileName(const QUrl &downloadUrl);

public Q_SLOTS:
    // Never fails to the caller: a failed transfer changes nothing, a body
    // that does not decode deletes the cache and keeps config.
    void fetchRemote();
    // Does nothing without config, with a download_url that is not https, or
    // while a download runs. On success opens the file and quits a little later.
    void downloadAndInstallUpdate();

Q_SIGNALS:
    void configChanged();
    void downloadProgressChanged();
    // After every fetch that reached the network, once its outcome is published.
    void fetchFinished();

private:
    void onFetchReply(QNetworkReply *reply);
    void publishFetched(const std::optional<RemoteConfig> &fetched);
    void setConfig(const RemoteConfig &config);
    void setDownloadProgress(std::optional<double> progress);

    std::unique_ptr<QTemporaryFile> openDownloadFile() const;
    QString destinationFor(const QString &fileName) const;
    void writeDownloadChunk(QNetworkReply *reply);
    void finishDownload(QNetworkReply *reply, const QString &fileName);

    Settings m_settings;
    QNetworkAccessManager *m_network;
    QThreadPool *m_pool;
    std::optional<RemoteConfig> m_config;
    std::optional<double> m_downloadProgress;
    std::unique_ptr<QTemporaryFile> m_download;
};
