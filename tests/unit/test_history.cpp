// History store rules: persistence, loading, removal, bad input, item texts.

#include "capture/LocalFolders.h"
#include "capture/Preferences.h"
#include "capture/ScreenshotMonitor.h"
#include "TestDoubles.h"
#include "TestSupport.h"
#include "capture/Thumbnailer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace TestSupport;

namespace {

struct Env {
    QTemporaryDir root;
    QString prefsFile = root.path() + QStringLiteral("/Tarnwick.conf");
    LocalFolders folders = LocalFolders::under(root.path() + QStringLiteral("/data"));
    MemoryClipboard clipboard;
    FixedFolderLocator locator{root.path() + QStringLiteral("/none")};
    NullFolderWatcher watcher;
    std::unique_ptr<Preferences> preferences;
    std::unique_ptr<ScreenshotMonitor> monitor;

    ScreenshotMonitor &start()
    {
        preferences = std::make_unique<Preferences>(prefsFile);
        ScreenshotMonitor::Dependencies deps;
        deps.preferences = preferences.get();
        deps.clipboard = &clipboard;
        deps.folderWatcher = &watcher;
        deps.folderLocator = &locator;
        deps.folders = folders;
        deps.thumbnailCacheDir = root.path() + QStringLiteral("/cache");
        deps.timings.clipboardPollInterval = std::chrono::milliseconds(20);
        monitor = std::make_unique<ScreenshotMonitor>(deps);
        return *monitor;
    }
    void restart()
    {
        monitor.reset();
        preferences.reset();
        start();
    }
    QString file(const QString &name) const { return root.path() + QLatin1Char('/') + name; }
    QStringList listed() const
    {
        QStringList paths;
        for (const auto &item : monitor->screenshots())
            paths << item.filePath();
        return paths;
    }
    void storeHistory(const QString &iniValue)
    {
        writeBytes(prefsFile, "[General]\ntarnwick.history.urls=" + iniValue.toUtf8() + "\n");
    }
};

}  // namespace

class HistoryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void historySurvivesRestartInOrder()
    {
        Env env;
        auto &monitor = env.start();
        const QString a = writePng(env.file(QStringLiteral("a.png")), makeImage(50, 40));
        const QString b = writePng(env.file(QStringLiteral("b.png")), makeImage(60, 40));
        monitor.addScreenshots({a, b});
        QTRY_COMPARE(monitor.screenshots().size(), 2);
        env.restart();
        QTRY_COMPARE(env.monitor->screenshots().size(), 2);
        QCOMPARE(env.listed(), (QStringList{b, a}));
        QCOMPARE(env.monitor->unreadCount(), 0);
        QCOMPARE(env.monitor->screenshots().first().thumbnail.size(), QSize(60, 40));
    }

    void missingPathsAreDroppedAndRewritten()
    {
        Env env;
        const QString kept = writePng(env.file(QStringLiteral("kept.png")), makeImage(10, 10));
        env.storeHistory(env.file(QStringLiteral("gone1.png")) + QStringLiteral(", ") + kept + QStringLiteral(", ")
                         + env.file(QStringLiteral("gone2.png")));
        auto &monitor = env.start();
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QCOMPARE(env.preferences->historyPaths(), QStringList{kept});
    }

    void allPathsMissingLeavesTheStoredListAlone()
    {
        Env env;
        const QString stored = env.file(QStringLiteral("gone1.png")) + QStringLiteral(", ")
            + env.file(QStringLiteral("gone2.png"));
        env.storeHistory(stored);
        auto &monitor = env.start();
        monitor.waitForBackgroundWork();
        QTest::qWait(50);
        QCOMPARE(monitor.screenshots().size(), 0);
        QCOMPARE(env.preferences->historyPaths().size(), 2);
    }

    void badHistoryEntriesLoseNothingElse()
    {
        Env env;
        const QString good = writePng(env.file(QStringLiteral("good.png")), makeImage(10, 10));
        const QString notImage = writeBytes(env.file(QStringLiteral("notes.txt")), "hello");
        const QString truncated = writeBytes(env.file(QStringLiteral("trunc.png")),
                                             [] {
                                                 QByteArray bytes;
                                                 QBuffer buffer(&bytes);
                                                 buffer.open(QIODevice::WriteOnly);
                                                 makeImage(300, 300).save(&buffer, "PNG");
                                                 return bytes.left(bytes.size() / 3);
                                             }());
        const QString huge = writeBytes(env.file(QStringLiteral("huge.png")), pngClaiming(40000, 40000));
        const QString zero = writeBytes(env.file(QStringLiteral("zero.png")), pngClaiming(0, 0));
        QDir().mkpath(env.file(QStringLiteral("folder.png")));
        env.storeHistory(QStringLiteral("%1, %2, %3, %4, %5, %6, relative.png, 42")
                             .arg(good, notImage, truncated, huge, zero, env.file(QStringLiteral("folder.png"))));
        auto &monitor = env.start();
        QTRY_COMPARE(monitor.screenshots().size(), 5);
        QCOMPARE(env.listed(), (QStringList{good, notImage, truncated, huge, zero}));
        QVERIFY(!monitor.screenshots().at(0).thumbnail.isNull());
        for (int i = 1; i < 5; ++i)
            QVERIFY2(monitor.screenshots().at(i).thumbnail.isNull() || i == 2, qPrintable(env.listed().at(i)));
        QCOMPARE(monitor.screenshots().at(3).imageDimensions(), QStringLiteral("40000\u00D740000"));
    }

    void damagedPreferencesFileStartsEmpty()
    {
        for (const QByteArray &content :
             {QByteArray("\xff\xfe\x00garbage[[[=\n\x01"), QByteArray(), QByteArray("[General]\ntarnwick.history.urls=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\nsaveLocalCopies=maybe\n")}) {
            Env env;
            writeBytes(env.prefsFile, content);
            auto &monitor = env.start();
            monitor.waitForBackgroundWork();
            QTest::qWait(20);
            QCOMPARE(monitor.screenshots().size(), 0);
            QCOMPARE(monitor.saveLocalCopies(), false);
            QCOMPARE(monitor.isClipboardCaptureEnabled(), true);
            monitor.addScreenshot(writePng(env.file(QStringLiteral("n.png")), makeImage(5, 5)));
            QTRY_COMPARE(monitor.screenshots().size(), 1);
        }
    }

    void captureDuringHistoryLoadStaysOnTop()
    {
        Env env;
        QStringList stored;
        for (int i = 0; i < 30; ++i)
            stored << writePng(env.file(QStringLiteral("old%1.png").arg(i)), makeImage(900, 600, Qt::gray, i));
        env.storeHistory(stored.join(QStringLiteral(", ")));
        QFile::remove(env.root.path() + QStringLiteral("/cache"));  // no cache: the load takes a while
        auto &monitor = env.start();
        const QString fresh = writePng(env.file(QStringLiteral("fresh.png")), makeImage(10, 10));
        monitor.addScreenshot(fresh);
        QTRY_COMPARE(monitor.screenshots().size(), 31);
        QCOMPARE(env.listed().first(), fresh);
        QCOMPARE(env.preferences->historyPaths().size(), 31);
    }

    void removeDeletesOnlyLocalFiles()
    {
        Env env;
        auto &monitor = env.start();
        const QString desktop = writePng(env.file(QStringLiteral("Desktop/Screenshot d.png")), makeImage(5, 5));
        const QString clip = writePng(env.folders.clipboardShots + QStringLiteral("/c.png"), makeImage(5, 5));
        const QString saved = writePng(env.folders.savedShots + QStringLiteral("/s.png"), makeImage(5, 5));
        monitor.addScreenshots({desktop, clip, saved});
        QTRY_COMPARE(monitor.screenshots().size(), 3);
        monitor.markAllRead();
        QTRY_COMPARE(monitor.unreadCount(), 0);
        const QList<ScreenshotItem> items = monitor.screenshots();
        for (const ScreenshotItem &item : items)
            monitor.remove(item);
        QTRY_COMPARE(monitor.screenshots().size(), 0);
        QCOMPARE(monitor.unreadCount(), 0);
        QVERIFY(QFile::exists(desktop));
        QVERIFY(!QFile::exists(clip));
        QVERIFY(!QFile::exists(saved));
    }

    void removeAllClearsClipboardFolderButKeepsUnlistedSavedFiles()
    {
        Env env;
        auto &monitor = env.start();
        const QString desktop = writePng(env.file(QStringLiteral("Screenshot d.png")), makeImage(5, 5));
        const QString listedClip = writePng(env.folders.clipboardShots + QStringLiteral("/a.png"), makeImage(5, 5));
        monitor.addScreenshots({desktop, listedClip});
        QTRY_COMPARE(monitor.unreadCount(), 2);
        const QString strayClip = writePng(env.folders.clipboardShots + QStringLiteral("/stray.png"), makeImage(5, 5));
        const QString straySaved = writePng(env.folders.savedShots + QStringLiteral("/stray.png"), makeImage(5, 5));
        monitor.removeAllDeletingTemporary();
        QTRY_COMPARE(monitor.screenshots().size(), 0);
        QCOMPARE(monitor.unreadCount(), 0);
        QVERIFY(QFile::exists(desktop));
        QVERIFY(!QFile::exists(listedClip));
        QVERIFY(!QFile::exists(strayClip));
        QVERIFY(QFile::exists(straySaved));
        QCOMPARE(env.preferences->historyPaths(), QStringList());
    }

    void localFolderTestUsesWholePathComponents()
    {
        const LocalFolders folders = LocalFolders::under(QStringLiteral("/home/u/.local/share/Tarnwick"));
        QVERIFY(folders.livesInLocalFolder(QStringLiteral("/home/u/.local/share/Tarnwick/SavedShots/x.png")));
        QVERIFY(folders.livesInLocalFolder(QStringLiteral("/home/u/.local/share/Tarnwick/ClipboardShots/a/b.png")));
        QVERIFY(!folders.livesInLocalFolder(QStringLiteral("/home/u/.local/share/Tarnwick/SavedShotsOld/x.png")));
        QVERIFY(!folders.livesInLocalFolder(QStringLiteral("/home/u/.local/share/Tarnwick/SavedShots/../../x.png")));
        QVERIFY(!folders.livesInLocalFolder(QStringLiteral("/home/u/.local/share/Tarnwick/SavedShots")));
        QVERIFY(!folders.livesInLocalFolder(QStringLiteral("/home/u/.local/share/Tarnwick/SavedShots/")));
        QVERIFY(!folders.livesInLocalFolder(QString()));
    }

    void removingAnItemOutsideTheFoldersNeverDeletesIt()
    {
        Env env;
        auto &monitor = env.start();
        // Looks like it is in SavedShots, but resolves outside it.
        const QString outside = writePng(env.root.path() + QStringLiteral("/data/victim.png"), makeImage(5, 5));
        ScreenshotItem item;
        item.url = QUrl::fromLocalFile(env.folders.savedShots + QStringLiteral("/../victim.png"));
        monitor.remove(item);
        QTest::qWait(20);
        QVERIFY(QFile::exists(outside));
    }

    void thumbnailsAreCachedAndFollowTheFile()
    {
        QTemporaryDir root;
        const Thumbnailer thumbnailer(root.path() + QStringLiteral("/cache"));
        const QString path = writePng(root.path() + QStringLiteral("/a.png"), makeImage(1280, 800, Qt::red));
        QCOMPARE(thumbnailer.generateThumbnail(path).size(), QSize(640, 400));
        QCOMPARE(QDir(root.path() + QStringLiteral("/cache")).entryList(QDir::Files).size(), 1);
        // Replaced by different content: the cached copy is not used.
        QTest::qWait(20);
        writePng(path, makeImage(2000, 1000, Qt::green));
        const QImage again = thumbnailer.generateThumbnail(path);
        QCOMPARE(again.size(), QSize(640, 320));
        QCOMPARE(again.pixelColor(300, 200), QColor(Qt::green));
        thumbnailer.prune({});
        QCOMPARE(QDir(root.path() + QStringLiteral("/cache")).entryList(QDir::Files).size(), 0);
    }

    void itemTexts()
    {
        QTemporaryDir root;
        ScreenshotItem item;
        item.url = QUrl::fromLocalFile(writePng(root.path() + QStringLiteral("/a.png"), makeImage(1440, 900)));
        QCOMPARE(item.imageDimensions(), QStringLiteral("1440\u00D7900"));
        QVERIFY(item.fileSize().endsWith(QLatin1String(" kB")) || item.fileSize().endsWith(QLatin1String("bytes")));
        const QDateTime now(QDate(2024, 3, 10), QTime(12, 0));
        item.capturedAt = now.addSecs(-3600);
        QCOMPARE(item.formattedDate(now), QStringLiteral("Today"));
        item.capturedAt = now.addDays(-1);
        QCOMPARE(item.formattedDate(now), QStringLiteral("Yesterday"));
        item.capturedAt = QDateTime(QDate(2024, 1, 2), QTime(9, 0));
        QCOMPARE(item.formattedDate(now), QStringLiteral("1/2/24"));
        item.url = QUrl::fromLocalFile(root.path() + QStringLiteral("/missing.png"));
        QCOMPARE(item.imageDimensions(), QString());
        QCOMPARE(item.fileSize(), QString());

        QCOMPARE(ScreenshotItem::formatByteCount(1), QStringLiteral("1 byte"));
        QCOMPARE(ScreenshotItem::formatByteCount(532), QStringLiteral("532 bytes"));
        QCOMPARE(ScreenshotItem::formatByteCount(1000), QStringLiteral("1.0 kB"));
        QCOMPARE(ScreenshotItem::formatByteCount(345678), QStringLiteral("345.7 kB"));
        QCOMPARE(ScreenshotItem::formatByteCount(999999), QStringLiteral("1.0 MB"));
        QCOMPARE(ScreenshotItem::formatByteCount(2400000000LL), QStringLiteral("2.4 GB"));
    }

};

QTEST_GUILESS_MAIN(HistoryTest)
#include "test_history.moc"
