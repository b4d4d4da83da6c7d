// Capture rules that need no desktop: the history and its persistence, removal,
// local folders, clipboard capture files, thumbnails, names and item texts.

#include "capture/ClipboardShotWriter.h"
#include "capture/ScreenshotHistory.h"
#include "capture/ScreenshotNameRule.h"
#include "capture/Thumbnailer.h"
#include "MonitorFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;
using namespace Qt::StringLiterals;

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
    QString file(const QString &name) const { return root.path() + u'/' + name; }
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
    // Whatever the stored history holds, the good entries load and nothing
    // crashes (the fuzz test feeds it damaged files by the thousand).
    void storedHistoryIsRead_data()
    {
        QTest::addColumn<QByteArray>("prefs");  // %1 stands for the folder of the files
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("storedAfter");
        const auto history = [](const char *entries) {
            return QByteArray("[General]\ntarnwick.history.urls=") + entries + "\n";
        };
        QTest::newRow("every path missing leaves the stored list alone")
            << history("%1/gone1.png, %1/gone2.png") << QStringList()
            << QStringList{u"gone1.png"_s, u"gone2.png"_s};
        const QStringList readable{u"good.png"_s, u"notes.txt"_s, u"trunc.png"_s, u"huge.png"_s, u"zero.png"_s};
        QTest::newRow("undecodable files stay, folders and relative paths go")
            << history("%1/good.png, %1/notes.txt, %1/trunc.png, %1/huge.png, %1/zero.png, %1/folder.png, "
                       "relative.png, 42")
            << readable << readable;
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
        writePng(env.file(u"good.png"_s), makeImage(10, 10));
        writeBytes(env.file(u"notes.txt"_s), "hello");
        writeBytes(env.file(u"trunc.png"_s), encoded(makeImage(300, 300)).left(300));
        writeBytes(env.file(u"huge.png"_s), pngClaiming(40000, 40000));
        writeBytes(env.file(u"zero.png"_s), pngClaiming(0, 0));
        QDir().mkpath(env.file(u"folder.png"_s));
        writeBytes(env.prefsFile, prefs.replace("%1", env.root.path().toUtf8()));
        auto &monitor = env.start();
        env.settle(100);
        QCOMPARE(env.listed(), listed);
        QCOMPARE(env.storedNames(), storedAfter);
        for (const ScreenshotItem &item : monitor.screenshots()) {
            const QString name = QFileInfo(item.filePath()).fileName();
            if (name != u"trunc.png"_s)  // a partial decode is fine either way
                QCOMPARE(item.thumbnail.isNull(), name != u"good.png"_s);
        }
        QCOMPARE(monitor.saveLocalCopies(), false);
        QCOMPARE(monitor.isClipboardCaptureEnabled(), true);
        monitor.addScreenshot(writePng(env.file(u"n.png"_s), makeImage(5, 5)));
        QTRY_COMPARE(monitor.screenshots().size(), listed.size() + 1);
    }

    void historyIsListedAtOnceAndThumbnailsFollow()
    {
        Env env;
        QStringList stored;
        for (int i = 0; i < 30; ++i)
            stored << writePng(env.file(u"old%1.png"_s.arg(i)), makeImage(900, 600, Qt::gray, i));
        writeBytes(env.prefsFile, "[General]\ntarnwick.history.urls=" + stored.join(u", "_s).toUtf8());
        auto &monitor = env.start();  // no thumbnail cache yet: the thumbnails take a while
        QCOMPARE(monitor.screenshots().size(), 30);
        monitor.addScreenshot(writePng(env.file(u"fresh.png"_s), makeImage(10, 10)));
        QTRY_COMPARE(monitor.screenshots().size(), 31);
        QCOMPARE(env.listed().first(), u"fresh.png"_s);
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
        // What the monitor stored comes back after a restart, in order and read.
        const QStringList listed = env.listed();
        env.start();
        QTRY_COMPARE(env.listed(), listed);
        QCOMPARE(env.monitor->unreadCount(), 0);
        QTRY_COMPARE(env.monitor->screenshots().first().thumbnail.size(), QSize(640, 427));
        // Clearing right after start stays cleared once the thumbnails are in.
        env.start();
        env.monitor->removeAllDeletingTemporary();
        env.settle(100);
        QCOMPARE(env.monitor->screenshots().size(), 0);
        QCOMPARE(env.preferences->historyPaths(), QStringList());
    }

    void removalDeletesOnlyListedFilesInsideTheLocalFolders_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("one by one") << false;
        QTest::newRow("all at once, emptying the clipboard folder") << true;
    }

    void removalDeletesOnlyListedFilesInsideTheLocalFolders()
    {
        QFETCH(bool, all);
        Env env;
        auto &monitor = env.start();
        const QString desktop = writePng(env.file(u"Desktop/Screenshot d.png"_s), makeImage(5, 5));
        const QString clip = writePng(env.folders.clipboardShots + u"/c.png"_s, makeImage(5, 5));
        const QString saved = writePng(env.folders.savedShots + u"/s.png"_s, makeImage(5, 5));
        monitor.addScreenshots({desktop, clip, saved});
        QTRY_COMPARE(monitor.unreadCount(), 3);
        const QString strayClip = writePng(env.folders.clipboardShots + u"/stray.png"_s, makeImage(5, 5));
        const QString straySaved = writePng(env.folders.savedShots + u"/stray.png"_s, makeImage(5, 5));
        // Looks like it is in SavedShots, but resolves outside it.
        const QString victim = writePng(env.dataDir + u"/victim.png"_s, makeImage(5, 5));
        ScreenshotItem outside;
        outside.url = QUrl::fromLocalFile(env.folders.savedShots + u"/../victim.png"_s);
        // Listed below a link in ClipboardShots that leads elsewhere.
        const QString linkedVictim = writePng(env.file(u"elsewhere/victim.png"_s), makeImage(5, 5));
        QVERIFY(QFile::link(env.file(u"elsewhere"_s), env.folders.clipboardShots + u"/evil"_s));
        monitor.addScreenshot(env.folders.clipboardShots + u"/evil/victim.png"_s);
        QTRY_COMPARE(monitor.unreadCount(), 4);
        if (all) {
            monitor.removeAllDeletingTemporary();
        } else {
            for (const ScreenshotItem &item : monitor.screenshots() + QList<ScreenshotItem>{outside})
                monitor.remove(item);
        }
        QTRY_COMPARE(monitor.screenshots().size(), 0);
        QCOMPARE(monitor.unreadCount(), 0);
        QCOMPARE(env.preferences->historyPaths(), QStringList());
        QList<bool> left;
        for (const QString &path : {desktop, victim, linkedVictim, clip, saved, strayClip, straySaved})
            left << QFile::exists(path);
        QCOMPARE(left, (QList<bool>{true, true, true, false, false, !all, true}));
    }

    void localFolderTestUsesWholePathComponents_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("inside");
        const QString base = u"/home/u/.local/share/Tarnwick/"_s;
        QTest::newRow("file in SavedShots") << base + u"SavedShots/x.png"_s << true;
        QTest::newRow("nested in ClipboardShots") << base + u"ClipboardShots/a/b.png"_s << true;
        QTest::newRow("sibling with a longer name") << base + u"SavedShotsOld/x.png"_s << false;
        QTest::newRow("dot-dot out of it") << base + u"SavedShots/../../x.png"_s << false;
        QTest::newRow("the folder itself") << base + u"SavedShots"_s << false;
        QTest::newRow("the folder with a slash") << base + u"SavedShots/"_s << false;
        QTest::newRow("empty path") << QString() << false;
    }

    void localFolderTestUsesWholePathComponents()
    {
        QFETCH(QString, path);
        QFETCH(bool, inside);
        QCOMPARE(LocalFolders::under(u"/home/u/.local/share/Tarnwick"_s).livesInLocalFolder(path), inside);
    }

    // Captures of one second never replace one another, and nothing half-written stays beside them.
    void clipboardShotsOfOneSecondGetNamesOfTheirOwn()
    {
        QTemporaryDir root;
        const QDateTime second(QDate(2024, 1, 1), QTime(10, 0));
        QStringList written;
        for (Qt::GlobalColor color : {Qt::red, Qt::green, Qt::blue})
            written << QFileInfo(ClipboardShotWriter::write(root.path(), second, makeImage(30, 30, color), {})).fileName();
        const QString stamp = u"Screenshot 2024-01-01 at 10.00.00"_s;
        QCOMPARE(written,
                 (QStringList{stamp + u" (Clipboard).png"_s, stamp + u" (Clipboard 2).png"_s, stamp + u" (Clipboard 3).png"_s}));
        QCOMPARE(QDir(root.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
        QCOMPARE(QImage(root.filePath(written.first())).pixelColor(15, 15), QColor(Qt::red));
    }

    void thumbnailsAreCachedAndFollowTheFile()
    {
        QTemporaryDir root;
        const Thumbnailer thumbnailer(root.path() + u"/cache"_s);
        const QString path = writePng(root.path() + u"/a.png"_s, makeImage(1280, 800, Qt::red));
        QCOMPARE(thumbnailer.generateThumbnail(path).size(), QSize(640, 400));
        QCOMPARE(QDir(root.path() + u"/cache"_s).entryList(QDir::Files).size(), 1);
        // Replaced by different content (another size): the cached copy is not used.
        writePng(path, makeImage(2000, 1000, Qt::green));
        const QImage again = thumbnailer.generateThumbnail(path);
        QCOMPARE(again.size(), QSize(640, 320));
        QCOMPARE(again.pixelColor(300, 200), QColor(Qt::green));
        thumbnailer.prune({});
        QCOMPARE(QDir(root.path() + u"/cache"_s).entryList(QDir::Files).size(), 0);
        // Never enlarged.
        QCOMPARE(Thumbnailer::reduce(makeImage(320, 500)).size(), QSize(320, 500));
    }

    void screenshotNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("screenshot");
        QTest::addColumn<bool>("clipboardShot");
        QTest::newRow("English") << u"Screenshot 2024-01-01 at 10.00.00.png"_s << true << true;
        QTest::newRow("Portuguese, upper case") << u"CAPTURA DE TELA 1.JPEG"_s << true << true;
        QTest::newRow("Spanish jpg") << u"Captura de pantalla 2.jpg"_s << true << true;
        QTest::newRow("not a screenshot name") << u"notes.png"_s << false << true;
        QTest::newRow("not an image type") << u"Screenshot.tiff"_s << false << false;
        QTest::newRow("phone photo") << u"photo.heic"_s << false << true;
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
        // The size comes from the header, even when the pixels could never be decoded; a gone
        // file has neither (the hover preview's test).
        const QString huge = writeBytes(root.path() + u"/huge.png"_s, pngClaiming(40000, 40000));
        item.url = QUrl::fromLocalFile(huge);
        QCOMPARE(item.imageDimensions(), u"40000\u00D740000"_s);
        QCOMPARE(item.fileSize(), ScreenshotItem::formatByteCount(QFileInfo(huge).size()));
        const QDateTime now(QDate(2024, 3, 10), QTime(12, 0));
        item.capturedAt = now.addSecs(-3600);
        QCOMPARE(item.formattedDate(now), u"Today"_s);
        item.capturedAt = now.addDays(-1);
        QCOMPARE(item.formattedDate(now), u"Yesterday"_s);
        item.capturedAt = QDateTime(QDate(2024, 1, 2), QTime(9, 0));
        QCOMPARE(item.formattedDate(now), u"1/2/24"_s);
        const QList<std::pair<qint64, QString>> sizes{{1, u"1 byte"_s},        {532, u"532 bytes"_s},  {1000, u"1.0 kB"_s},
                                                      {345678, u"345.7 kB"_s}, {999999, u"1.0 MB"_s}, {2400000000LL, u"2.4 GB"_s}};
        for (const auto &[bytes, text] : sizes)
            QCOMPARE(ScreenshotItem::formatByteCount(bytes), text);
    }
};

QTEST_GUILESS_MAIN(CaptureTest)
#include "test_capture.moc"
