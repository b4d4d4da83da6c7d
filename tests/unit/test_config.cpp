// The remote configuration: the document and its cache file on their own, then
// the manager against a real HTTPS server on 127.0.0.1 whose self-signed
// certificate only this test trusts.

#include "config/RemoteConfigCache.h"
#include "config/RemoteConfigManager.h"
#include "LocalHttpServer.h"
#include "Mutator.h"
#include "TestSupport.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <limits>

using namespace TestSupport;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using Tls = LocalHttpServer::Tls;

namespace {

// A complete, valid document as the server sends it, and the record it decodes to.
const QByteArray sampleDocument = R"({"version": 7, "updated_at": "2024-05-01",
    "updates": {"latest_version": "2.4.1", "minimum_supported_version": "1.0", "download_url": "https://h/x.dmg",
                "force_update": false, "show_update_banner": true},
    "feature_flags": {"qr_code_enabled": true, "ocr_enabled": false, "imgur_upload_enabled": true,
                      "iphone_clipboard_capture_enabled": false, "local_backup_enabled": true},
    "messages": {"global_banner": "Hello"}})";

RemoteConfig sampleConfig(const QString &downloadUrl = u"https://h/x.dmg"_s)
{
    return {7, u"2024-05-01"_s, {u"2.4.1"_s, u"1.0"_s, downloadUrl, false, true}, {true, false, true, false, true}, {u"Hello"_s}};
}

QByteArray bytesOf(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// document with the value at path ("key" or "section/key") replaced; Undefined removes it.
QJsonObject withValueAt(QJsonObject document, const QString &path, const QJsonValue &value)
{
    const QString key = path.section(u'/', 0, 0), rest = path.section(u'/', 1);
    if (!rest.isEmpty())
        document.insert(key, withValueAt(document.value(key).toObject(), rest, value));
    else if (value.isUndefined())
        document.remove(key);
    else
        document.insert(key, value);
    return document;
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

const HttpResponse installer{200, QByteArray("installer bytes ").repeated(40000)};

enum class Server { None, Trusted, Silent, Untrusted, Plain };  // Silent holds every request
enum class Prior { Nothing, OlderFile, Link };                   // what already has the installer's name
enum class CacheAfter { Written, Removed, Unchanged };

std::unique_ptr<LocalHttpServer> serve(Server kind, const HttpResponse &response = installer)
{
    if (kind == Server::None)
        return nullptr;
    auto server = std::make_unique<LocalHttpServer>(kind == Server::Plain       ? Tls::None
                                                    : kind == Server::Untrusted ? Tls::Untrusted
                                                                                : Tls::Trusted);
    server->setHandler([kind, response](const HttpRequest &) {
        return kind == Server::Silent ? std::nullopt : std::optional(response);
    });
    return server;
}

// A manager with temporary storage and Downloads folders; the open and quit hooks are recorded.
struct Fixture {
    QTemporaryDir root;
    QString storage = root.filePath(u"data/Tarnwick"_s);
    QString downloads = root.filePath(u"home/Downloads"_s);
    QList<QUrl> opened;
    QElapsedTimer sinceOpen;
    QList<qint64> quitsAfterMs;
    RemoteConfigManager::Settings settings;

    explicit Fixture(const QUrl &remote = {})
        : settings{.remoteUrl = remote, .storageDir = storage, .downloadsDir = downloads, .appVersion = u"1.0"_s,
                   .tls = LocalHttpServer::trustingClient(), .quitDelay = 100ms,
                   .openFile = [this](const QUrl &file) { opened << file; sinceOpen.start(); },
                   .quit = [this] { quitsAfterMs << sinceOpen.elapsed(); }}
    {
    }

    QString cacheFile() const { return RemoteConfigCache::filePath(storage); }
    std::unique_ptr<RemoteConfigManager> make() const { return std::make_unique<RemoteConfigManager>(settings); }
    // A manager that holds config from its cache and never fetches.
    std::unique_ptr<RemoteConfigManager> holding(const RemoteConfig &config)
    {
        RemoteConfigCache{config, 1.0}.save(storage);
        settings.remoteUrl.clear();
        return make();
    }
};

}  // namespace

class ConfigTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    void decoderFollowsTheKeyRules()
    {
        QCOMPARE(RemoteConfig::decode(sampleDocument), std::optional(sampleConfig()));  // re-encoding: the fuzz test
        // "version" spans the whole 64-bit range exactly, and nothing beyond.
        const auto version = [](const QByteArray &v) {
            return RemoteConfig::decode(QByteArray(sampleDocument).replace("\"version\": 7", "\"version\": " + v));
        };
        QCOMPARE(version("9223372036854775807").value_or(RemoteConfig()).version, std::numeric_limits<qint64>::max());
        QVERIFY(!version("9223372036854775808"));
        // Every key is required with its JSON type, "version" must be whole, unknown keys are ignored.
        const QJsonObject sample = QJsonDocument::fromJson(sampleDocument).object();
        const QJsonValue values[] = {QJsonValue::Null, true, 3.0, 3.5, u"x"_s, QJsonArray{1}, QJsonObject{{u"k"_s, 1}}};
        for (const QString &top : sample.keys()) {
            // The key itself and, for a section, each key inside it.
            QList<std::pair<QString, QJsonValue>> fields{{top, sample.value(top)}};
            const QJsonObject section = sample.value(top).toObject();
            for (const QString &key : section.keys())
                fields.append({top + u'/' + key, section.value(key)});
            for (const auto &[path, old] : fields) {
                QVERIFY2(!RemoteConfig::decode(bytesOf(withValueAt(sample, path, QJsonValue::Undefined))), qPrintable(path));
                for (const QJsonValue &value : values) {
                    const bool accepted = value.type() == old.type() && !old.isObject() && (path != u"version"_s || value != 3.5);
                    QVERIFY2(RemoteConfig::decode(bytesOf(withValueAt(sample, path, value))).has_value() == accepted,
                             qPrintable(path + u' ' + QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)));
                }
                const QString unknown = path.contains(u'/') ? top + u"/later"_s : u"later"_s;
                QCOMPARE(RemoteConfig::decode(bytesOf(withValueAt(sample, unknown, QJsonArray{1}))), std::optional(sampleConfig()));
            }
        }
    }

    void cacheFileIsBase64OfTheJsonRecord()
    {
        QTemporaryDir dir;
        const QString storage = dir.filePath(u"a/Tarnwick"_s);
        RemoteConfigCache cache{sampleConfig(), 737000000.25};
        QVERIFY(cache.save(storage));  // creates the missing folders
        const QByteArray contents = readBytes(RemoteConfigCache::filePath(storage));
        const auto json = QByteArray::fromBase64Encoding(contents, QByteArray::AbortOnBase64DecodingErrors);
        QVERIFY(json && !contents.contains('\n'));
        const QJsonObject object = QJsonDocument::fromJson(*json).object();
        QCOMPARE(object.value(u"fetchedAt"_s).toDouble(), 737000000.25);
        QCOMPARE(RemoteConfig::fromJson(object.value(u"config"_s).toObject()), std::optional(cache.config));
        cache.fetchedAt += 60;
        QVERIFY(cache.save(storage));  // replaces the file and leaves nothing beside it
        QCOMPARE(RemoteConfigCache::load(storage), std::optional(cache));
        QCOMPARE(QDir(storage).entryList(QDir::Files | QDir::Hidden), QStringList{u".rc"_s});
        const QDateTime reference(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
        QCOMPARE(RemoteConfigCache::secondsSinceReferenceDate(reference.addMSecs(1500)), 1.5);
    }

    void damagedCacheMeansNoCache_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("loads");
        const QByteArray valid = RemoteConfigCache{sampleConfig(), 1.0}.toFileContents();
        const QJsonObject record = QJsonDocument::fromJson(QByteArray::fromBase64(valid)).object();
        const auto with = [&](const QString &key, const QJsonValue &value) { return bytesOf(withValueAt(record, key, value)).toBase64(); };
        QTest::newRow("as written") << valid << true;
        QTest::newRow("plain JSON, not Base64") << QByteArray::fromBase64(valid) << false;
        QTest::newRow("line break inside the Base64") << valid.left(20) + "\n" + valid.mid(20) << false;
        QTest::newRow("no fetchedAt") << with(u"fetchedAt"_s, QJsonValue::Undefined) << false;
        QTest::newRow("fetchedAt as text") << with(u"fetchedAt"_s, u"1.0"_s) << false;
        QTest::newRow("incomplete config") << with(u"config"_s, QJsonObject{{u"version"_s, 1}}) << false;
    }

    void damagedCacheMeansNoCache()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, loads);
        QTemporaryDir dir;
        writeBytes(RemoteConfigCache::filePath(dir.path()), contents);
        QCOMPARE(RemoteConfigCache::load(dir.path()).has_value(), loads);
    }

    void fetch_data()
    {
        QTest::addColumn<Server>("kind");
        QTest::addColumn<HttpResponse>("response");
        QTest::addColumn<CacheAfter>("cacheAfter");
        const HttpResponse valid{200, bytesOf(sampleConfig(u"https://h/fetched.dmg"_s).toJson())};
        QTest::newRow("valid body under an error status is taken") << Server::Trusted << HttpResponse{404, valid.body} << CacheAfter::Written;
        QTest::newRow("undecodable body drops the cache, keeps the configuration")
            << Server::Trusted << HttpResponse{200, "<html><body>Service Unavailable</body></html>"} << CacheAfter::Removed;
        QTest::newRow("silent server times out, nothing changes") << Server::Silent << valid << CacheAfter::Unchanged;
        QTest::newRow("untrusted certificate, nothing changes") << Server::Untrusted << valid << CacheAfter::Unchanged;
        QTest::newRow("plain http is never fetched") << Server::Plain << valid << CacheAfter::Unchanged;
        QTest::newRow("body over 1 MiB fails like a failed fetch")
            << Server::Trusted << HttpResponse{200, valid.body + QByteArray(1 << 20, ' ')} << CacheAfter::Unchanged;
    }

    void fetch()
    {
        QFETCH(Server, kind);
        QFETCH(HttpResponse, response);
        QFETCH(CacheAfter, cacheAfter);
        const auto server = serve(kind, response);
        Fixture f(server->url(u"/config/remote-config.json?_t=1&channel=beta"_s));  // the query: replaced by "_t"
        f.settings.fetchTimeout = kind == Server::Silent ? 200ms : 5000ms;
        const RemoteConfig cached = sampleConfig(u"https://h/cached.dmg"_s);
        RemoteConfigCache{cached, 1.0}.save(f.storage);
        const QByteArray cacheBytes = readBytes(f.cacheFile());
        QList<QThread *> publishedOn;
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        auto manager = f.make();
        QCOMPARE(manager->config(), std::optional(cached));  // loaded at creation, before any fetch
        // Direct: records the thread that emits, not the receiver's.
        connect(manager.get(), &RemoteConfigManager::configChanged, this, [&] { publishedOn << QThread::currentThread(); }, Qt::DirectConnection);
        QSignalSpy finished(manager.get(), &RemoteConfigManager::fetchFinished);
        if (kind == Server::Plain)
            QTest::qWait(200);
        QTRY_COMPARE(finished.count(), kind == Server::Plain ? 0 : 1);  // fetched on its own after creation
        QCOMPARE(server->requests().size(), kind == Server::Trusted || kind == Server::Silent ? 1 : 0);
        for (const HttpRequest &request : server->requests()) {
            // The time in whole seconds, in decimal.
            const QByteArray sent = request.method + ' ' + request.target, prefix = "GET /config/remote-config.json?_t=";
            const qint64 t = sent.mid(prefix.size()).toLongLong();
            QVERIFY2(sent == prefix + QByteArray::number(t) && t >= before && t <= QDateTime::currentSecsSinceEpoch(), sent);
            QCOMPARE(request.header("cache-control"), QByteArray("no-cache"));
        }

        const bool taken = cacheAfter == CacheAfter::Written;
        QCOMPARE(manager->config(), taken ? RemoteConfig::decode(response.body) : std::optional(cached));
        QCOMPARE(publishedOn, QList<QThread *>(taken ? 1 : 0, QCoreApplication::instance()->thread()));
        if (cacheAfter == CacheAfter::Written) {
            const auto cache = RemoteConfigCache::load(f.storage);
            QVERIFY(cache && cache->config == *manager->config());
            QVERIFY(qAbs(RemoteConfigCache::secondsSinceReferenceDate(QDateTime::currentDateTimeUtc()) - cache->fetchedAt) < 60);
        }
        QCOMPARE(!QFile::exists(f.cacheFile()), cacheAfter == CacheAfter::Removed);
        if (cacheAfter == CacheAfter::Unchanged)
            QCOMPARE(readBytes(f.cacheFile()), cacheBytes);
    }

    void lastSuccessfulFetchWins()
    {
        LocalHttpServer server;
        server.setHandler([n = 0](const HttpRequest &) mutable -> std::optional<HttpResponse> {
            if (++n == 2)
                return HttpResponse{200, bytesOf(sampleConfig(u"https://h/second.dmg"_s).toJson())};
            return std::nullopt;  // the creation fetch waits
        });
        Fixture f(server.url(u"/config.json"_s));
        auto manager = f.make();
        QSignalSpy finished(manager.get(), &RemoteConfigManager::fetchFinished);
        QTRY_COMPARE(server.heldCount(), 1);
        manager->fetchRemote();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(manager->config()->updates.download_url, u"https://h/second.dmg"_s);
        server.releaseHeld({200, bytesOf(sampleConfig(u"https://h/late.dmg"_s).toJson())});
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(manager->config()->updates.download_url, u"https://h/late.dmg"_s);
        QCOMPARE(RemoteConfigCache::load(f.storage)->config, *manager->config());
    }

    void updateNotice_data()
    {
        QTest::addColumn<QString>("running");
        QTest::addColumn<RemoteUpdateConfig>("updates");  // latest, minimum, url, force, show banner
        QTest::addColumn<bool>("banner");
        QTest::addColumn<bool>("forced");
        // The banner asks whether running is older than latest: the version rule itself.
        const auto older = [](const char *what, const QString &running, const QString &latest, bool outdated) {
            QTest::newRow(what) << running << RemoteUpdateConfig{latest, u"0"_s, {}, false, true} << outdated << false;
        };
        older("missing part counts as zero", u"1.2"_s, u"1.2.0"_s, false);
        older("parts compare as numbers", u"1.9"_s, u"1.10"_s, true);
        older("extra part in the latest", u"1.2"_s, u"1.2.1"_s, true);
        older("non-numeric latest never outdates", u"1.0"_s, u"latest"_s, false);
        older("empty part is dropped, not zero", u"1..2"_s, u"1.2"_s, false);
        older("suffixed part is dropped", u"1.3-beta.2"_s, u"1.3"_s, true);
        older("lettered part is dropped, not zero", u"2.rc1.5"_s, u"2.5"_s, false);
        older("part with a space is dropped", u" 3.1"_s, u"2.1"_s, true);
        older("part beyond 64 bits is dropped", u"99999999999999999999.5"_s, u"1.0"_s, false);
        older("signed parts are numbers", u"-1"_s, u"+0"_s, true);
        QTest::newRow("banner switched off") << u"1.9"_s << RemoteUpdateConfig{u"1.10"_s, u"1.0"_s, {}, false, false} << false << false;
        // Below the minimum, forced or not as the switch says: the viewer's overlay test.
        QTest::newRow("at the minimum: not forced") << u"2.1"_s << RemoteUpdateConfig{u"3.0"_s, u"2.1"_s, {}, true, true} << true << false;
    }

    void updateNotice()
    {
        QFETCH(QString, running);
        QFETCH(RemoteUpdateConfig, updates);
        QFETCH(bool, banner);
        QFETCH(bool, forced);
        Fixture f;
        f.settings.appVersion = running;
        RemoteConfig config = sampleConfig();
        config.updates = updates;
        auto manager = f.holding(config);
        QCOMPARE(manager->property("shouldShowUpdateBanner").toBool(), banner);
        QCOMPARE(manager->property("shouldForceUpdate").toBool(), forced);
    }

    // The feature flags are proven where they hide controls: the viewer, library and settings tests.
    void noConfigurationAndRunningVersion()
    {
        Fixture f;
        f.settings.appVersion.clear();
        auto none = f.make();
        QVERIFY(!none->shouldShowUpdateBanner() && !none->shouldForceUpdate());
        QCOMPARE(none->runningVersion(), u"1.0"_s);
        QCoreApplication::setApplicationVersion(u"3.2.1"_s);
        QCOMPARE(f.make()->runningVersion(), u"3.2.1"_s);
        QCoreApplication::setApplicationVersion(QString());
    }

    void installerLandsInDownloads_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Prior>("prior");
        const auto row = [](const char *what, const QString &path, const QString &name, Prior prior = Prior::Nothing) {
            QTest::newRow(what) << path << name << prior;
        };
        row("last path segment", u"/releases/Tarnwick-2.0.dmg"_s, u"Tarnwick-2.0.dmg"_s);
        row("query is not part of the name", u"/a/b.dmg?x=../../y"_s, u"b.dmg"_s);
        row("percent-encoding is decoded", u"/Tarnwick%202.dmg"_s, u"Tarnwick 2.dmg"_s);
        row("no path: default name", QString(), u"Tarnwick.dmg"_s);
        row("older download is replaced", QString(), u"Tarnwick.dmg"_s, Prior::OlderFile);
        row("planted link is replaced, its target kept", QString(), u"Tarnwick.dmg"_s, Prior::Link);
        row("parent segment: default name", u"/a/.."_s, u"Tarnwick.dmg"_s);
        row("encoded dots: default name", u"/%2e%2e"_s, u"Tarnwick.dmg"_s);
        row("only dots and spaces: default name", u"/.%20.%20."_s, u"Tarnwick.dmg"_s);
        row("encoded slashes become underscores", u"/..%2F..%2F.bashrc"_s, u"_._.bashrc"_s);
        row("double-encoded slashes too", u"/..%252F..%252Fx"_s, u"_._x"_s);
        row("encoded backslashes too", u"/..%5C..%5Cx"_s, u"_._x"_s);
        row("leading dot is dropped", u"/.profile"_s, u"profile"_s);
        row("inner double dot collapses", u"/a..b.dmg"_s, u"a.b.dmg"_s);
        row("control and format characters are removed", u"/a%00b%0A%E2%80%AEc"_s, u"abc"_s);
    }

    void installerLandsInDownloads()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(Prior, prior);
        const auto server = serve(Server::Silent);
        const QString url = server->url().toString() + path;
        QCOMPARE(RemoteConfigManager::installerFileName(QUrl(url)), name);

        Fixture f;
        const QString destination = f.downloads + u'/' + name;
        const QString outside = writeBytes(f.root.filePath(u"home/.bashrc"_s), "keep me");
        QDir().mkpath(f.downloads);
        if (prior == Prior::Link)
            QVERIFY(QFile::link(outside, destination));
        else if (prior == Prior::OlderFile)
            writeBytes(destination, "old installer");
        auto manager = f.holding(sampleConfig(url));
        QStringList expectedFiles = filesBelow(f.root.path()) << u"home/Downloads/"_s + name;
        expectedFiles.removeDuplicates();
        expectedFiles.sort();
        QSignalSpy progress(manager.get(), &RemoteConfigManager::downloadProgressChanged);
        manager->downloadAndInstallUpdate();
        QCOMPARE(manager->downloadProgress(), std::optional(0.0));
        QTRY_COMPARE(server->heldCount(), 1);
        manager->downloadAndInstallUpdate();  // one runs already: nothing more is asked
        server->releaseHeld(installer);
        QTRY_COMPARE(f.opened, QList{QUrl::fromLocalFile(destination)});
        QCOMPARE(f.quitsAfterMs.size(), 0);
        const QByteArray sent = QUrl(url).adjusted(QUrl::NormalizePathSegments).toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority);
        QCOMPARE(server->requests().first().target, sent.isEmpty() ? "/" : sent);  // the configured URL, dot segments resolved
        QCOMPARE(readBytes(destination), installer.body);
        QCOMPARE(readBytes(outside), QByteArray("keep me"));
        QCOMPARE(filesBelow(f.root.path()), expectedFiles);
        QCOMPARE(manager->downloadProgress(), std::nullopt);
        QCOMPARE(progress.count(), 2);
        QTRY_COMPARE(f.quitsAfterMs.size(), 1);
        QVERIFY2(f.quitsAfterMs[0] >= 90, qPrintable(QString::number(f.quitsAfterMs[0])));
        QCOMPARE(server->requests().size(), 1);  // by now a second download would have asked too
    }

    void downloadThatCannotSucceedLeavesNothing_data()
    {
        QTest::addColumn<Server>("kind");
        QTest::addColumn<QString>("url");  // a path on the server, else the whole URL; none: no configuration
        QTest::addColumn<bool>("attempted");
        QTest::addColumn<HttpResponse>("response");
        const HttpResponse notFound{404, "<html>not here</html>"};
        QTest::newRow("error page is not an installer") << Server::Trusted << u"/x.dmg"_s << true << notFound;
        QTest::newRow("installer over the size limit") << Server::Trusted << u"/x.dmg"_s << true
                                                       << HttpResponse{200, QByteArray(64 * 1024, 'i')};
        QTest::newRow("untrusted certificate") << Server::Untrusted << u"/x.dmg"_s << true << notFound;
        QTest::newRow("plain http is never downloaded") << Server::Plain << u"/x.dmg"_s << false << notFound;
        QTest::newRow("malformed https URL is never downloaded") << Server::None << u"https://exa mple/x.dmg"_s << false << notFound;
        QTest::newRow("no configuration, nothing to download") << Server::None << QString() << false << notFound;
    }

    void downloadThatCannotSucceedLeavesNothing()
    {
        QFETCH(Server, kind);
        QFETCH(QString, url);
        QFETCH(bool, attempted);
        QFETCH(HttpResponse, response);
        const auto server = serve(kind, response);
        Fixture f;
        f.settings.maxInstallerBytes = 4096;
        auto manager = url.isNull() ? f.make() : f.holding(sampleConfig(server ? server->url(url).toString() : url));
        QSignalSpy progress(manager.get(), &RemoteConfigManager::downloadProgressChanged);
        manager->downloadAndInstallUpdate();
        if (attempted) {
            QTRY_COMPARE(progress.count(), 2);
            manager->downloadAndInstallUpdate();  // usable again
            QTRY_COMPARE(progress.count(), 4);
        } else {
            QTest::qWait(100);
            QCOMPARE(progress.count(), 0);
        }
        QCOMPARE(manager->downloadProgress(), std::nullopt);
        QVERIFY(f.opened.isEmpty());
        QCOMPARE(filesBelow(f.downloads), QStringList());
        if (server)
            QCOMPARE(server->requests().size(), kind == Server::Trusted ? 2 : 0);
    }

    void installerNamesAreAlwaysPlain()
    {
        Mutator mutate(0xd1u);
        for (int i = 0; i < 4000; ++i) {
            const QUrl url(u"https://h"_s + QString::fromLatin1(mutate.bytes("/downloads/..%2F%2e%2e%5C%252F.%00Tarnwick%20Setup.dmg")));
            const QString name = RemoteConfigManager::installerFileName(url);
            QVERIFY2(!name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u".."_s)
                         && !name.startsWith(u'.') && !name.contains(QChar(0)) && name.toUtf8().size() <= 255,
                     qPrintable(name));
        }
    }

    // Last: the shared instance lives on until the application ends.
    void sharedInstanceBelongsToTheMainThread()
    {
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.filePath(u"data"_s).toUtf8());
        RemoteConfigManager *fromWorker = nullptr;
        std::unique_ptr<QThread> worker(QThread::create([&] { fromWorker = &RemoteConfigManager::shared(); }));
        worker->start();
        QVERIFY(worker->wait(5000));
        QCOMPARE(&RemoteConfigManager::shared(), fromWorker);
        QCOMPARE(fromWorker->thread(), QCoreApplication::instance()->thread());
        QTRY_COMPARE(fromWorker->parent(), static_cast<QObject *>(QCoreApplication::instance()));
    }
};

QTEST_GUILESS_MAIN(ConfigTest)
#include "test_config.moc"
