// The remote configuration record, its cache file, version comparison and
// the installer's file name: rules without a network.

#include "config/RemoteConfigCache.h"
#include "config/RemoteConfigManager.h"
#include "RemoteConfigSamples.h"
#include "TestSupport.h"

#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

namespace {
QByteArray bytesOf(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
}  // namespace

class RemoteConfigTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodesStrictly()
    {
        const auto config = RemoteConfig::decode(sampleConfigBytes(QStringLiteral("https://h/x.dmg")));
        QVERIFY(config);
        QCOMPARE(config->version, 7);
        QCOMPARE(config->updates.download_url, QStringLiteral("https://h/x.dmg"));
        QVERIFY((config->feature_flags == RemoteFeatureFlags{true, false, true, false, true}));
        QCOMPARE(config->messages.global_banner, QStringLiteral("Hello"));
        QCOMPARE(RemoteConfig::decode(bytesOf(config->toJson())), config);

        const auto sample = RemoteConfig::decode(sampleConfigBytes());
        for (const QString &path : requiredConfigKeyPaths()) {
            const auto without = editedAt(sampleConfigJson(), path, [](QJsonObject &o, const QString &k) { o.remove(k); });
            QVERIFY2(!RemoteConfig::decode(bytesOf(without)), qPrintable(path));
            const QString unknown = path.contains(QLatin1Char('/')) ? path.section(QLatin1Char('/'), 0, 0) + QStringLiteral("/later")
                                                                    : QStringLiteral("later");
            const auto extra = editedAt(sampleConfigJson(), unknown, [](QJsonObject &o, const QString &k) { o.insert(k, QJsonArray{1}); });
            QCOMPARE(RemoteConfig::decode(bytesOf(extra)), sample);
        }
        const QList<std::pair<QByteArray, bool>> versions{{"3", true},     {"3.0", true},  {"1e3", true},
                                                          {"3.5", false},  {"\"3\"", false},
                                                          {"9223372036854775807", true}, {"9223372036854775808", false}};
        for (const auto &[version, accepted] : versions) {
            const QByteArray document = sampleConfigBytes().replace("\"version\":7", "\"version\":" + version);
            QVERIFY2(RemoteConfig::decode(document).has_value() == accepted, version.constData());
        }
        for (const QByteArray &bad : {QByteArray(), QByteArray("<html></html>"), QByteArray("[]"), sampleConfigBytes() + "x"})
            QVERIFY(!RemoteConfig::decode(bad));
    }

    void cacheFileIsBase64OfTheJsonRecord()
    {
        QTemporaryDir dir;
        const QString storage = dir.filePath(QStringLiteral("a/Tarnwick"));
        const RemoteConfigCache cache{*RemoteConfig::decode(sampleConfigBytes()), 737000000.25};
        QVERIFY(cache.save(storage));  // creates the missing folders
        QFile file(RemoteConfigCache::filePath(storage));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray contents = file.readAll();
        const auto json = QByteArray::fromBase64Encoding(contents, QByteArray::AbortOnBase64DecodingErrors);
        QVERIFY(json && !contents.contains('\n'));
        const QJsonObject object = QJsonDocument::fromJson(*json).object();
        QCOMPARE(object.value(QStringLiteral("fetchedAt")).toDouble(), 737000000.25);
        QCOMPARE(RemoteConfig::fromJson(object.value(QStringLiteral("config")).toObject()), cache.config);
        QCOMPARE(RemoteConfigCache::load(storage), cache);
        RemoteConfigCache newer = cache;
        newer.fetchedAt += 60;
        QVERIFY(newer.save(storage));
        QCOMPARE(RemoteConfigCache::load(storage), newer);
        QCOMPARE(QDir(storage).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral(".rc")});

        const QDateTime start(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
        QCOMPARE(RemoteConfigCache::secondsSinceReferenceDate(start.addMSecs(1500)), 1.5);
        QCOMPARE(RemoteConfigCache::secondsSinceReferenceDate(QDateTime::fromSecsSinceEpoch(0, Qt::UTC)), -978307200.0);
    }

    void damagedCacheMeansNoCache()
    {
        const QByteArray valid = RemoteConfigCache{*RemoteConfig::decode(sampleConfigBytes()), 1.0}.toFileContents();
        QJsonObject noTime = QJsonDocument::fromJson(QByteArray::fromBase64(valid)).object();
        noTime.remove(QStringLiteral("fetchedAt"));
        QJsonObject timeAsText = noTime;
        timeAsText.insert(QStringLiteral("fetchedAt"), QStringLiteral("1.0"));
        QJsonObject partial = timeAsText;
        partial.insert(QStringLiteral("fetchedAt"), 1.0);
        partial.insert(QStringLiteral("config"), QJsonObject{{QStringLiteral("version"), 1}});
        QTemporaryDir dir;
        for (const QByteArray &contents : {QByteArray("{not base64!}"), valid.left(20) + "\n" + valid.mid(20),
                                           QByteArray::fromBase64(valid), bytesOf(noTime).toBase64(),
                                           bytesOf(timeAsText).toBase64(), bytesOf(partial).toBase64(), QByteArray()}) {
            writeBytes(RemoteConfigCache::filePath(dir.path()), contents);
            QVERIFY2(!RemoteConfigCache::load(dir.path()), contents.constData());
        }
        writeBytes(RemoteConfigCache::filePath(dir.path()), valid);
        QVERIFY(RemoteConfigCache::load(dir.path()));
    }

    void comparesDottedVersions()
    {
        const QList<std::tuple<const char *, const char *, bool>> cases{
            {"1.2.0", "1.2", false}, {"1.2", "1.2.0", false}, {"1.9", "1.10", true},    {"1.10", "1.9", false},
            {"1.2", "1.2.1", true},  {"1.0", "", false},      {"1.0", "latest", false}, {"1..2", "1.2", false},
            // non-numeric parts are dropped, not read as 0: [1, 2] vs [1, 3], [2, 5] vs [2, 5], [1] vs [2, 1]
            {"1.3-beta.2", "1.3", true}, {"2.rc1.5", "2.5", false}, {" 3.1", "2.1", true},
            {"99999999999999999999.5", "1.0", false}, {"-1", "+0", true}};
        for (const auto &[current, target, outdated] : cases) {
            QVERIFY2(RemoteConfigManager::isOutdated(QString::fromLatin1(current), QString::fromLatin1(target)) == outdated,
                     current);
        }
    }

    void installerNameIsAPlainFileName()
    {
        const QList<std::pair<const char *, const char *>> cases{
            {"https://h/releases/Tarnwick-2.0.dmg", "Tarnwick-2.0.dmg"}, {"https://h/a/b.dmg?x=../../y", "b.dmg"},
            {"https://h/Tarnwick%202.dmg", "Tarnwick 2.dmg"},            {"https://h", "Tarnwick.dmg"},
            {"https://h/", "Tarnwick.dmg"},                              {"https://h/a/..", "Tarnwick.dmg"},
            {"https://h/%2e%2e", "Tarnwick.dmg"},                        {"https://h/..%2F..%2F.bashrc", "_._.bashrc"},
            {"https://h/..%252F..%252Fx", "_._x"},                       {"https://h/..%5C..%5Cx", "_._x"},
            {"https://h/.profile", "profile"},                           {"https://h/a..b.dmg", "a.b.dmg"},
            {"https://h/a%00b%0A%E2%80%AEc", "abc"},                     {"https://h/.%20.%20.", "Tarnwick.dmg"}};
        for (const auto &[url, name] : cases)
            QCOMPARE(RemoteConfigManager::installerFileName(QUrl(QString::fromLatin1(url))), QString::fromLatin1(name));
    }
};

QTEST_GUILESS_MAIN(RemoteConfigTest)
#include "test_remote_config.moc"
