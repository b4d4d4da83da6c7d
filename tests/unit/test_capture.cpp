// Capture rules that need no desktop: the history and its persistence, removal,
// local folders, thumbnails, names and item texts.

#include "capture/ScreenshotHistory.h"
#include "capture/ScreenshotNameRule.h"
#include "capture/Thumbnailer.h"
#include "MonitorFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;

namespace {

// A monitor with no folder to watch, its preferences read from the file at each start.
struct Env : MonitorFixture {
    NullFolderWatcher nothing;
    Env()
    {
        folderWatcher = &nothing;
        timings = {};
    }
    ~Env() { monitor.reset(); }  // before the watcher it uses
    ScreenshotMonitor &start()
    {
        monitor.reset();
        preferences = std::make_unique<Preferences>(prefsFile);
        return MonitorFixture::start();
    }
    QString file(const QString &name) const { return root.path() + QLatin1Char('/') + name; }
    static QStringList names(const QStringList &paths)
    {
        QStringList names;
        for (const QString &path : paths)
            names << QFileInfo(path).fileName();
        return names;
    }
    QStringList listed() const { return names(listedPaths()); }
    QStringList storedNames() const { return names(preferences->historyPaths()); }
};


}  // namespace

class CaptureTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void historySurvivesRestartInOrder()
    {
        Env env;
        auto &monitor = env.start();
        monitor.addScreenshots({writePng(env.file(QStringLiteral("a.png")), makeImage(50, 40)),
                                writePng(env.file(QStringLiteral("b.png")), makeImage(60, 40))});
        QTRY_COMPARE(monitor.screenshots().size(), 2);
        env.start();
        QTRY_COMPARE(env.listed(), (QStringList{QStringLiteral("b.png"), QStringLiteral("a.png")}));
        QCOMPARE(env.monitor->unreadCount(), 0);
        QTRY_COMPARE(env.monitor->screenshots().first().thumbnail.size(), QSize(60, 40));
    }

    // Whatever the stored history holds, the good entries load and nothing crashes.
    void storedHistoryIsRead_data()
    {
        QTest::addColumn<QByteArray>("prefs");  // %1 stands for the folder of the files
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("storedAfter");
        const auto history = [](const char *entries) {
            return QByteArray("[General]\ntarnwick.history.urls=") + entries + "\n";
        };
        const QStringList good{QStringLiteral("good.png")};
        QTest::newRow("missing paths are dropped and the list rewritten")
            << history("%1/gone1.png, %1/good.png, %1/gone2.png") << good << good;
        QTest::newRow("every path missing leaves the stored list alone")
            << history("%1/gone1.png, %1/gone2.png") << QStringList()
            << QStringList{QStringLiteral("gone1.png"), QStringLiteral("gone2.png")};
        const QStringList readable{QStringLiteral("good.png"), QStringLiteral("notes.txt"), QStringLiteral("trunc.png"),
                                   QStringLiteral("huge.png"), QStringLiteral("zero.png")};
        QTest::newRow("undecodable files stay, folders and relative paths go")
            << history("%1/good.png, %1/notes.txt, %1/trunc.png, %1/huge.png, %1/zero.png, %1/folder.png, "
                       "relative.png, 42")
            << readable << readable;
        QTest::newRow("garbage bytes") << QByteArray("\xff\xfe\x00garbage[[[=\n\x01", 16) << QStringList()
                                       << QStringList();
        QTest::newRow("empty file") << QByteArray() << QStringList() << QStringList();
        QTest::newRow("values of the wrong type")
            << QByteArray("[General]\ntarnwick.history.urls=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)\n"
                          "saveLocalCopies=maybe\n")
            << QStringList() << QStringList();
    }

    void storedHistoryIsRead()
    {
        QFETCH(QByteArray, prefs);
        QFETCH(QStringList, listed);
        QFETCH(QStringList, storedAfter);
        Env env;
        writePng(env.file(QStringLiteral("good.png")), makeImage(10, 10));
        writeBytes(env.file(QStringLiteral("notes.txt")), "hello");
        writeBytes(env.file(QStringLiteral("trunc.png")), encoded(makeImage(300, 300)).left(300));
        writeBytes(env.file(QStringLiteral("huge.png")), pngClaiming(40000, 40000));
        writeBytes(env.file(QStringLiteral("zero.png")), pngClaiming(0, 0));
        QDir().mkpath(env.file(QStringLiteral("folder.png")));
        writeBytes(env.prefsFile, prefs.replace("%1", env.root.path().toUtf8()));
        auto &monitor = env.start();
        env.settle(100);
        QCOMPARE(env.listed(), listed);
        QCOMPARE(env.storedNames(), storedAfter);
        for (const ScreenshotItem &item : monitor.screenshots()) {
            const QString name = QFileInfo(item.filePath()).fileName();
            if (name != QLatin1String("trunc.png"))  // a partial decode is fine either way
                QCOMPARE(item.thumbnail.isNull(), name != QLatin1String("good.png"));
        }
        QCOMPARE(monitor.saveLocalCopies(), false);
        QCOMPARE(monitor.isClipboardCaptureEnabled(), true);
        monitor.addScreenshot(writePng(env.file(QStringLiteral("n.png")), makeImage(5, 5)));
        QTRY_COMPARE(monitor.screenshots().size(), listed.size() + 1);
    }

    void historyIsListedAtOnceAndThumbnailsFollow()
    {
        Env env;
        QStringList stored;
        for (int i = 0; i < 30; ++i)
            stored << writePng(env.file(QStringLiteral("old%1.png").arg(i)), makeImage(900, 600, Qt::gray, i));
        writeBytes(env.prefsFile, "[General]\ntarnwick.history.urls=" + stored.join(QStringLiteral(", ")).toUtf8());
        auto &monitor = env.start();  // no thumbnail cache yet: the thumbnails take a while
        QCOMPARE(monitor.screenshots().size(), 30);
        monitor.addScreenshot(writePng(env.file(QStringLiteral("fresh.png")), makeImage(10, 10)));
        QTRY_COMPARE(monitor.screenshots().size(), 31);
        QCOMPARE(env.listed().first(), QStringLiteral("fresh.png"));
        QCOMPARE(env.preferences->historyPaths().size(), 31);
        // Only the newest are held in memory; the rest wait in the disk cache.
        const auto held = [&] {
            QList<bool> thumbnails;
            for (const ScreenshotItem &item : monitor.screenshots())
                thumbnails << !item.thumbnail.isNull();
            return thumbnails;
        };
        QList<bool> expected(ScreenshotHistory::heldThumbnails, true);
        expected.resize(31, false);
        QTRY_COMPARE(held(), expected);
        QCOMPARE(monitor.screenshots().at(1).thumbnail.size(), QSize(640, 427));
        // What moves up gets its thumbnail back.
        monitor.remove(monitor.screenshots().at(0));
        monitor.remove(monitor.screenshots().at(1));
        expected.resize(29);
        QTRY_COMPARE(held(), expected);
        // Clearing right after start stays cleared once the thumbnails are in.
        env.start();
        env.monitor->removeAllDeletingTemporary();
        env.settle(100);
        QCOMPARE(env.monitor->screenshots().size(), 0);
        QCOMPARE(env.preferences->historyPaths(), QStringList());
    }

    void removalDeletesOnlyFilesInsideTheLocalFolders()
    {
        Env env;
        auto &monitor = env.start();
        const QString desktop = writePng(env.file(QStringLiteral("Desktop/Screenshot d.png")), makeImage(5, 5));
        const QString clip = writePng(env.folders.clipboardShots + QStringLiteral("/c.png"), makeImage(5, 5));
        const QString saved = writePng(env.folders.savedShots + QStringLiteral("/s.png"), makeImage(5, 5));
        monitor.addScreenshots({desktop, clip, saved});
        QTRY_COMPARE(monitor.unreadCount(), 3);
        // Looks like it is in SavedShots, but resolves outside it.
        const QString victim = writePng(env.dataDir + QStringLiteral("/victim.png"), makeImage(5, 5));
        ScreenshotItem outside;
        outside.url = QUrl::fromLocalFile(env.folders.savedShots + QStringLiteral("/../victim.png"));
        for (const ScreenshotItem &item : monitor.screenshots() + QList<ScreenshotItem>{outside})
            monitor.remove(item);
        QTRY_COMPARE(monitor.screenshots().size(), 0);
        QCOMPARE(monitor.unreadCount(), 0);
        QVERIFY(QFile::exists(desktop));
        QVERIFY(QFile::exists(victim));
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

    void localFolderTestUsesWholePathComponents_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("inside");
        const QString base = QStringLiteral("/home/u/.local/share/Tarnwick/");
        QTest::newRow("file in SavedShots") << base + QStringLiteral("SavedShots/x.png") << true;
        QTest::newRow("nested in ClipboardShots") << base + QStringLiteral("ClipboardShots/a/b.png") << true;
        QTest::newRow("sibling with a longer name") << base + QStringLiteral("SavedShotsOld/x.png") << false;
        QTest::newRow("dot-dot out of it") << base + QStringLiteral("SavedShots/../../x.png") << false;
        QTest::newRow("the folder itself") << base + QStringLiteral("SavedShots") << false;
        QTest::newRow("the folder with a slash") << base + QStringLiteral("SavedShots/") << false;
        QTest::newRow("empty path") << QString() << false;
    }

    void localFolderTestUsesWholePathComponents()
    {
        QFETCH(QString, path);
        QFETCH(bool, inside);
        QCOMPARE(LocalFolders::under(QStringLiteral("/home/u/.local/share/Tarnwick")).livesInLocalFolder(path), inside);
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
        // Never enlarged.
        QCOMPARE(Thumbnailer::reduce(makeImage(320, 500)).size(), QSize(320, 500));
    }

    void screenshotNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("screenshot");
        QTest::addColumn<bool>("clipboardShot");
        QTest::newRow("English") << QStringLiteral("Screenshot 2024-01-01 at 10.00.00.png") << true << true;
        QTest::newRow("Portuguese, upper case") << QStringLiteral("CAPTURA DE TELA 1.JPEG") << true << true;
        QTest::newRow("Spanish jpg") << QStringLiteral("Captura de pantalla 2.jpg") << true << true;
        QTest::newRow("not a screenshot name") << QStringLiteral("notes.png") << false << true;
        QTest::newRow("not an image type") << QStringLiteral("Screenshot.tiff") << false << false;
        QTest::newRow("phone photo") << QStringLiteral("photo.heic") << false << true;
    }

    void screenshotNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, screenshot);
        QFETCH(bool, clipboardShot);
        QCOMPARE(ScreenshotNameRule::isScreenshotName(name), screenshot);
        QCOMPARE(ScreenshotNameRule::isClipboardShotName(name), clipboardShot);
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
        // The size comes from the header, even when the pixels could never be decoded.
        item.url = QUrl::fromLocalFile(writeBytes(root.path() + QStringLiteral("/huge.png"), pngClaiming(40000, 40000)));
        QCOMPARE(item.imageDimensions(), QStringLiteral("40000\u00D740000"));
        item.url = QUrl::fromLocalFile(root.path() + QStringLiteral("/missing.png"));
        QCOMPARE(item.imageDimensions(), QString());
        QCOMPARE(item.fileSize(), QString());
        const QList<std::pair<qint64, QString>> sizes{
            {1, QStringLiteral("1 byte")},        {532, QStringLiteral("532 bytes")},
            {1000, QStringLiteral("1.0 kB")},     {345678, QStringLiteral("345.7 kB")},
            {999999, QStringLiteral("1.0 MB")},   {2400000000LL, QStringLiteral("2.4 GB")}};
        for (const auto &[bytes, text] : sizes)
            QCOMPARE(ScreenshotItem::formatByteCount(bytes), text);
    }
};

QTEST_GUILESS_MAIN(CaptureTest)
#include "test_capture.moc"
