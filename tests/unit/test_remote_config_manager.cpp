// The configuration manager against a real HTTPS server on 127.0.0.1 whose
// self-signed certificate only this test trusts.

#include "LocalHttpServer.h"
#include "config/RemoteConfigCache.h"
#include "config/RemoteConfigManager.h"
#include "RemoteConfigSamples.h"
#include "TestSupport.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrlQuery>

using namespace TestSupport;
using namespace std::chrono_literals;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every file and link below root, relative to it.
QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

RemoteConfig configWith(const QString &downloadUrl)
{
    return *RemoteConfig::decode(sampleConfigBytes(downloadUrl));
}

const HttpResponse installer{200, "installer", "application/octet-stream"};

std::optional<HttpResponse> hold(const HttpRequest &)
{
    return std::nullopt;
}

// Temporary storage and Downloads folders; the open and quit hooks are recorded.
struct Fixture {
    QTemporaryDir root;
    QString storage = root.filePath(QStringLiteral("data/Tarnwick"));
    QString downloads = root.filePath(QStringLiteral("home/Downloads"));
    QList<QUrl> opened;
    int quits = 0;
    QElapsedTimer sinceOpen;
    qint64 quitAfterMs = -1;
    RemoteConfigManager::Settings settings;

    Fixture(const QUrl &remote, const TestCertificate &trusted)
    {
        settings.remoteUrl = remote;
        settings.storageDir = storage;
        settings.downloadsDir = downloads;
        settings.appVersion = QStringLiteral("1.0");
        settings.tls = trusted.clientConfiguration();
        settings.quitDelay = 150ms;
        settings.openFile = [this](const QUrl &file) {
            opened << file;
            sinceOpen.start();
        };
        settings.quit = [this] {
            ++quits;
            quitAfterMs = sinceOpen.elapsed();
        };
    }

    void writeCache(const RemoteConfig &config) const
    {
        if (!RemoteConfigCache{config, 1.0}.save(storage))
            qFatal("cannot write the cache in %s", qPrintable(storage));
    }
    QString cacheFile() const { return RemoteConfigCache::filePath(storage); }
    std::unique_ptr<RemoteConfigManager> make() const { return std::make_unique<RemoteConfigManager>(settings); }
    // A manager that holds config from its cache and never fetches.
    std::unique_ptr<RemoteConfigManager> holding(const RemoteConfig &config)
    {
        writeCache(config);
        settings.remoteUrl.clear();
        return make();
    }
};

}  // namespace

class RemoteConfigManagerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_certDir;
    TestCertificate m_cert;
    TestCertificate m_stranger;  // served, never trusted

    QUrl location(const LocalHttpServer &server) const { return server.url(QStringLiteral("/config/remote-config.json")); }

private Q_SLOTS:
    void initTestCase()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QDir().mkpath(m_certDir.filePath(QStringLiteral("other")));
        m_cert = TestCertificate::generate(m_certDir.path());
        m_stranger = TestCertificate::generate(m_certDir.filePath(QStringLiteral("other")));
        QVERIFY(!m_cert.isNull() && !m_stranger.isNull());
    }

    void validBodyIsAcceptedWhateverTheStatus()
    {
        LocalHttpServer server(&m_cert);
        server.respondWith({404, sampleConfigBytes()});
        Fixture f(location(server), m_cert);
        auto manager = f.make();
        QThread *publishedOn = nullptr;
        connect(manager.get(), &RemoteConfigManager::configChanged, this, [&] { publishedOn = QThread::currentThread(); });
        QSignalSpy finished(manager.get(), &RemoteConfigManager::fetchFinished);
        QVERIFY(!manager->config());
        QTRY_COMPARE(finished.count(), 1);  // fetched on its own after creation
        QCOMPARE(manager->config(), RemoteConfig::decode(sampleConfigBytes()));
        QCOMPARE(publishedOn, QCoreApplication::instance()->thread());
        const auto cache = RemoteConfigCache::load(f.storage);
        QVERIFY(cache && cache->config == *manager->config());
        const double now = RemoteConfigCache::secondsSinceReferenceDate(QDateTime::currentDateTimeUtc());
        QVERIFY(qAbs(now - cache->fetchedAt) < 60);
    }

    void undecodableBodyDropsTheCacheButKeepsTheConfiguration()
    {
        LocalHttpServer server(&m_cert);
        server.respondWith({200, "<html><body>Service Unavailable</body></html>", "text/html"});
        Fixture f(location(server), m_cert);
        const RemoteConfig cached = configWith(QStringLiteral("https://h/cached.dmg"));
        f.writeCache(cached);
        auto manager = f.make();
        QCOMPARE(manager->config(), cached);  // loaded at creation, before any fetch
        QSignalSpy finished(manager.get(), &RemoteConfigManager::fetchFinished);
        QSignalSpy changed(manager.get(), &RemoteConfigManager::configChanged);
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(!QFile::exists(f.cacheFile()));
        QCOMPARE(manager->config(), cached);
        QCOMPARE(changed.count(), 0);
    }

    void requestCarriesExactlyOneCacheBustingItem()
    {
        LocalHttpServer server(&m_cert);
        server.respondWith({200, sampleConfigBytes()});
        QUrl withQuery = location(server);
        withQuery.setQuery(QStringLiteral("_t=1&channel=beta"));
        Fixture f(withQuery, m_cert);
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        auto manager = f.make();
        QSignalSpy finished(manager.get(), &RemoteConfigManager::fetchFinished);
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(server.requests().size(), 1);
        const HttpRequest &request = server.requests().first();
        const QUrl sent(QString::fromLatin1(request.target));
        QCOMPARE(request.method + ' ' + sent.path().toLatin1(), QByteArray("GET /config/remote-config.json"));
        const auto items = QUrlQuery(sent).queryItems();
        QCOMPARE(items.size(), 1);
        QCOMPARE(items.first().first, QStringLiteral("_t"));
        const qint64 t = items.first().second.toLongLong();
        QVERIFY(t >= before && t <= QDateTime::currentSecsSinceEpoch());
        QCOMPARE(items.first().second, QString::number(t));  // whole seconds in decimal
        QCOMPARE(request.header("cache-control"), QByteArray("no-cache"));
    }

    void failedTransfersChangeNothing()
    {
        LocalHttpServer untrusted(&m_stranger);
        untrusted.respondWith({200, sampleConfigBytes()});
        LocalHttpServer silent(&m_cert);
        silent.setHandler(hold);
        for (LocalHttpServer *server : {&untrusted, &silent}) {
            Fixture f(location(*server), m_cert);
            f.settings.fetchTimeout = 200ms;
            const RemoteConfig cached = configWith(QStringLiteral("https://h/cached.dmg"));
            f.writeCache(cached);
            const QByteArray cacheBytes = readFile(f.cacheFile());
            auto manager = f.make();
            QSignalSpy finished(manager.get(), &RemoteConfigManager::fetchFinished);
            QTRY_COMPARE(finished.count(), 1);
            QCOMPARE(manager->config(), cached);
            QCOMPARE(readFile(f.cacheFile()), cacheBytes);
        }
        QVERIFY(untrusted.requests().isEmpty());
        QCOMPARE(silent.heldCount(), 1);
    }

    void lastSuccessfulFetchWins()
    {
        LocalHttpServer server(&m_cert);
        server.setHandler([n = 0](const HttpRequest &) mutable -> std::optional<HttpResponse> {
            if (++n == 2)
                return HttpResponse{200, sampleConfigBytes(QStringLiteral("https://h/second.dmg"))};
            return std::nullopt;  // the creation fetch waits
        });
        Fixture f(location(server), m_cert);
        auto manager = f.make();
        QSignalSpy finished(manager.get(), &RemoteConfigManager::fetchFinished);
        QTRY_COMPARE(server.heldCount(), 1);
        manager->fetchRemote();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(manager->config()->updates.download_url, QStringLiteral("https://h/second.dmg"));
        server.releaseHeld({200, sampleConfigBytes(QStringLiteral("https://h/late.dmg"))});
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(manager->config()->updates.download_url, QStringLiteral("https://h/late.dmg"));
        QCOMPARE(RemoteConfigCache::load(f.storage)->config, *manager->config());
    }

    void updateBannerAndForcedUpdate()
    {
        struct Case {
            const char *running, *latest;
            bool show;
            const char *minimum;
            bool force, banner, forced;
        };
        const Case cases[] = {{"1.2.0", "1.2", true, "1.0", true, false, false},
                              {"1.9", "1.10", true, "1.0", false, true, false},
                              {"1.9", "1.10", false, "1.0", false, false, false},
                              {"2.1", "3.0", true, "2.1", true, true, false},  // minimum equals running
                              {"2.0.9", "3.0", true, "2.1", true, true, true},
                              {"2.0.9", "3.0", true, "2.1", false, true, false}};
        for (const Case &c : cases) {
            Fixture f({}, m_cert);
            RemoteConfig config = configWith(QStringLiteral("https://h/x.dmg"));
            config.updates = {QString::fromLatin1(c.latest), QString::fromLatin1(c.minimum), {}, c.force, c.show};
            f.settings.appVersion = QString::fromLatin1(c.running);
            auto manager = f.holding(config);
            QVERIFY2(manager->shouldShowUpdateBanner() == c.banner, c.running);
            QVERIFY2(manager->property("shouldForceUpdate").toBool() == c.forced, c.running);
        }
        Fixture f({}, m_cert);
        auto none = f.make();
        QVERIFY(!none->shouldShowUpdateBanner() && !none->shouldForceUpdate());
    }

    void featureFlagsAndRunningVersion()
    {
        Fixture f({}, m_cert);
        const auto flags = {&RemoteFeatureFlags::qr_code_enabled, &RemoteFeatureFlags::ocr_enabled,
                            &RemoteFeatureFlags::imgur_upload_enabled,
                            &RemoteFeatureFlags::iphone_clipboard_capture_enabled, &RemoteFeatureFlags::local_backup_enabled};
        auto none = f.make();
        for (auto flag : flags)
            QVERIFY(none->isFeatureEnabled(flag));
        RemoteConfig config = configWith(QStringLiteral("https://h/x.dmg"));
        config.feature_flags = {true, false, true, true, true};
        auto held = f.holding(config);
        for (auto flag : flags)
            QCOMPARE(held->isFeatureEnabled(flag), flag != &RemoteFeatureFlags::ocr_enabled);
        QCOMPARE(held->property("config").value<std::optional<RemoteConfig>>(), std::optional(config));

        f.settings.appVersion.clear();
        QCOMPARE(f.make()->runningVersion(), QStringLiteral("1.0"));
        QCoreApplication::setApplicationVersion(QStringLiteral("3.2.1"));
        QCOMPARE(f.make()->runningVersion(), QStringLiteral("3.2.1"));
        QCoreApplication::setApplicationVersion(QString());
    }

    void downloadPlacesOpensAndQuits()
    {
        LocalHttpServer server(&m_cert);
        const QByteArray bytes = QByteArray("installer bytes ").repeated(40000);
        server.respondWith({200, bytes, "application/octet-stream"});
        Fixture f({}, m_cert);
        auto manager = f.holding(configWith(server.url(QStringLiteral("/releases/Tarnwick-2.0.dmg")).toString()));
        QSignalSpy progress(manager.get(), &RemoteConfigManager::downloadProgressChanged);
        manager->downloadAndInstallUpdate();
        QCOMPARE(manager->downloadProgress(), std::optional(0.0));
        QTRY_COMPARE(f.opened.size(), 1);
        const QString destination = f.downloads + QStringLiteral("/Tarnwick-2.0.dmg");
        QCOMPARE(f.opened.first(), QUrl::fromLocalFile(destination));
        QCOMPARE(readFile(destination), bytes);
        QCOMPARE(manager->downloadProgress(), std::nullopt);
        QCOMPARE(progress.count(), 2);
        QCOMPARE(f.quits, 0);
        QTRY_COMPARE(f.quits, 1);
        QVERIFY2(f.quitAfterMs >= 140, qPrintable(QString::number(f.quitAfterMs)));
        QCOMPARE(filesBelow(f.downloads), QStringList{QStringLiteral("Tarnwick-2.0.dmg")});
    }

    void secondDownloadWhileOneRunsDoesNothing()
    {
        LocalHttpServer server(&m_cert);
        server.setHandler(hold);
        Fixture f({}, m_cert);
        auto manager = f.holding(configWith(server.url(QStringLiteral("/x.dmg")).toString()));
        manager->downloadAndInstallUpdate();
        QTRY_COMPARE(server.heldCount(), 1);
        manager->downloadAndInstallUpdate();
        QTest::qWait(100);
        QCOMPARE(server.requests().size(), 1);
        server.releaseHeld(installer);
        QTRY_COMPARE(f.opened.size(), 1);
        QCOMPARE(readFile(f.downloads + QStringLiteral("/x.dmg")), installer.body);
        QCOMPARE(manager->downloadProgress(), std::nullopt);
    }

    void emptyPathSavesTarnwickDmgReplacingWhatWasThere()
    {
        LocalHttpServer server(&m_cert);
        server.respondWith(installer);
        // An older download, then a link planted under the same name: both are replaced, the link's target is not touched.
        for (const bool link : {false, true}) {
            Fixture f({}, m_cert);
            const QString destination = f.downloads + QStringLiteral("/Tarnwick.dmg");
            const QString outside = writeBytes(f.root.filePath(QStringLiteral("home/.bashrc")), "keep me");
            QDir().mkpath(f.downloads);
            if (link)
                QVERIFY(QFile::link(outside, destination));
            else
                writeBytes(destination, "old installer, longer than the new one");
            auto manager = f.holding(configWith(server.url().toString()));
            manager->downloadAndInstallUpdate();
            QTRY_COMPARE(f.opened.size(), 1);
            QCOMPARE(server.requests().last().target, QByteArray("/"));
            QCOMPARE(readFile(destination), installer.body);
            QVERIFY(!QFileInfo(destination).isSymLink());
            QCOMPARE(readFile(outside), QByteArray("keep me"));
            QCOMPARE(filesBelow(f.downloads), QStringList{QStringLiteral("Tarnwick.dmg")});
        }
    }

    void hostileNamesStayInsideDownloads()
    {
        LocalHttpServer server(&m_cert);
        server.respondWith(installer);
        for (const char *path : {"/..%2F..%2F.bashrc", "/..%252F..%252Fevil", "/..%5C..%5Cevil", "/a/..", "/%2e%2e",
                                 "/.profile", "/evil%00.dmg"}) {
            Fixture f({}, m_cert);
            QUrl url = server.url();
            url.setPath(QString::fromLatin1(path), QUrl::TolerantMode);
            f.writeCache(configWith(url.toString(QUrl::FullyEncoded)));
            const QStringList before = filesBelow(f.root.path());
            auto manager = f.holding(configWith(url.toString(QUrl::FullyEncoded)));
            manager->downloadAndInstallUpdate();
            QTRY_COMPARE(f.opened.size(), 1);
            const QString name = RemoteConfigManager::installerFileName(url);
            QVERIFY2(!name.contains(QLatin1Char('/')) && !name.startsWith(QLatin1Char('.')), qPrintable(name));
            QCOMPARE(f.opened.first(), QUrl::fromLocalFile(f.downloads + QLatin1Char('/') + name));
            QCOMPARE(filesBelow(f.root.path()), before + QStringList{QStringLiteral("home/Downloads/") + name});
        }
    }

    void failedDownloadsResetProgress()
    {
        LocalHttpServer missing(&m_cert);
        missing.respondWith({404, "<html>not here</html>", "text/html"});
        LocalHttpServer untrusted(&m_stranger);
        untrusted.respondWith(installer);
        for (LocalHttpServer *server : {&missing, &untrusted}) {
            Fixture f({}, m_cert);
            auto manager = f.holding(configWith(server->url(QStringLiteral("/x.dmg")).toString()));
            QSignalSpy progress(manager.get(), &RemoteConfigManager::downloadProgressChanged);
            manager->downloadAndInstallUpdate();
            QTRY_COMPARE(progress.count(), 2);
            QCOMPARE(manager->downloadProgress(), std::nullopt);
            manager->downloadAndInstallUpdate();  // usable again
            QTRY_COMPARE(progress.count(), 4);
            QVERIFY(f.opened.isEmpty());
            QCOMPARE(filesBelow(f.downloads), QStringList());
        }
    }

    void onlyHttpsIsFetchedOrDownloaded()
    {
        LocalHttpServer plain;
        plain.respondWith({200, sampleConfigBytes()});
        Fixture f(location(plain), m_cert);
        auto overHttp = f.make();
        Fixture g({}, m_cert);
        auto httpDownload = g.holding(configWith(plain.url(QStringLiteral("/x.dmg")).toString()));
        Fixture h({}, m_cert);
        auto badUrl = h.holding(configWith(QStringLiteral("https://exa mple/x.dmg")));
        QSignalSpy finished(overHttp.get(), &RemoteConfigManager::fetchFinished);
        for (auto *manager : {overHttp.get(), httpDownload.get(), badUrl.get()}) {
            manager->fetchRemote();
            manager->downloadAndInstallUpdate();  // overHttp has no configuration at all
            QCOMPARE(manager->downloadProgress(), std::nullopt);
        }
        QTest::qWait(200);
        QCOMPARE(plain.connectionCount(), 0);
        QCOMPARE(finished.count(), 0);
        QVERIFY(!overHttp->config());
    }

    void sharedInstanceIsOneOfTheMainThread()
    {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
        RemoteConfigManager *fromWorker = nullptr;
        std::unique_ptr<QThread> worker(QThread::create([&] { fromWorker = &RemoteConfigManager::shared(); }));
        worker->start();
        QVERIFY(worker->wait(5000));
        QCOMPARE(&RemoteConfigManager::shared(), fromWorker);
        QCOMPARE(fromWorker->thread(), QCoreApplication::instance()->thread());
        QTRY_COMPARE(fromWorker->parent(), static_cast<QObject *>(QCoreApplication::instance()));
    }
};

QTEST_GUILESS_MAIN(RemoteConfigManagerTest)
#include "test_remote_config_manager.moc"
