// Kept copies on real folders: switching them on, rescanning, emptying, measuring.

#include "MonitorFixture.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace TestSupport;
using namespace Qt::StringLiterals;

namespace {
QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}
}  // namespace

class LocalCopiesTest : public QObject
{
    Q_OBJECT

private:
    // Three screenshots from the folder and two clipboard captures, all listed.
    static void populate(MonitorFixture &f)
    {
        auto &monitor = f.start();
        for (int i = 1; i <= 3; ++i)
            writePng(f.shots + u"/Screenshot %1.png"_s.arg(i), makeImage(20, 20, Qt::red, i));
        QTRY_COMPARE(monitor.screenshots().size(), 3);
        QStringList clips;
        for (int i = 1; i <= 2; ++i)
            clips << writePng(f.folders.clipboardShots + u"/Screenshot c%1 (Clipboard).png"_s.arg(i),
                              makeImage(20, 20, Qt::blue, i));
        monitor.addScreenshots(clips);
        QTRY_COMPARE(monitor.screenshots().size(), 5);
    }

    static void switchOn(MonitorFixture &f)
    {
        f.preferences->setBool(Preferences::saveLocalCopiesKey, true);
        f.monitor->syncExistingToSavedShots(true);
        f.settle(20);  // the main-thread half
    }

private Q_SLOTS:
    // A clipboard capture no longer listed is kept as well, and stays unlisted;
    // while the copies cannot be made, nothing is lost.
    void switchingOnMovesEverythingIntoSavedShots()
    {
        MonitorFixture f;
        populate(f);
        const QStringList before = f.listedPaths();
        writeBytes(f.folders.savedShots, "a file where the folder should be: every copy fails");
        switchOn(f);
        QCOMPARE(f.listedPaths(), before);
        for (const QString &path : before)
            QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
        QVERIFY(QFile::remove(f.folders.savedShots));

        const QString orphan = u"Screenshot lost (Clipboard).png"_s;
        writePng(f.folders.clipboardShots + u'/' + orphan, makeImage(9, 9));
        DiagnosticRecorder diag;
        switchOn(f);
        QCOMPARE(filesIn(f.folders.savedShots).size(), 6);
        QVERIFY(filesIn(f.folders.savedShots).contains(orphan));
        QCOMPARE(filesIn(f.folders.clipboardShots), QStringList());
        QCOMPARE(f.monitor->screenshots().size(), 5);
        for (const QString &path : f.listedPaths())
            QCOMPARE(QFileInfo(path).absolutePath(), f.folders.savedShots);
        QCOMPARE(f.preferences->historyPaths(), f.listedPaths());
        QCOMPARE(diag.lines().filter(u"[SavedShots] Synced existing: "_s).size(), 5);
        QCOMPARE(diag.lines().filter(u"[SavedShots] Synced orphan clipboard: "_s),
                 QStringList{u"[SavedShots] Synced orphan clipboard: "_s + orphan});

        // Nothing left to do the second time.
        diag.clear();
        f.monitor->syncExistingToSavedShots(true);
        f.settle(20);
        QCOMPARE(diag.lines().filter(u"[SavedShots] Synced"_s), QStringList());
        QCOMPARE(filesIn(f.folders.savedShots).size(), 6);

        // The screenshot folder's files may go; the kept copies stay listed.
        QVERIFY(QDir(f.shots).removeRecursively());
        QTest::qWait(200);
        QCOMPARE(f.monitor->screenshots().size(), 5);
    }

    void syncAllAddsOnlyWhatIsNotListed()
    {
        MonitorFixture f;
        populate(f);
        f.monitor->markAllRead();
        QTRY_COMPARE(f.monitor->unreadCount(), 0);
        for (bool kept : {false, true}) {  // then with every item pointing at its kept copy
            if (kept)
                switchOn(f);
            f.monitor->syncAll();
            f.settle(20);
            QCOMPARE(f.monitor->screenshots().size(), 5);
            QCOMPARE(f.monitor->unreadCount(), 0);
        }

        writeBytes(f.folders.clipboardShots + u"/photo.heic"_s, "not really heic");
        writeBytes(f.shots + u"/photo.heic"_s, "not really heic");
        writePng(f.folders.clipboardShots + u"/notes.txt"_s, makeImage(3, 3));
        writePng(f.folders.savedShots + u"/Screenshot old.png"_s, makeImage(7, 7));
        // Links under image names that lead to other files are neither listed nor copied.
        const QString secret = writeBytes(f.root.path() + u"/passwd"_s, "root:x:0:0:root:/root:/bin/sh\n");
        QVERIFY(QFile::link(secret, f.shots + u"/Screenshot passwd.png"_s));
        QVERIFY(QFile::link(secret, f.folders.clipboardShots + u"/passwd.png"_s));
        const qint64 clipboardBefore = f.clipboard.changeCount();
        f.monitor->syncAll();
        QTRY_COMPARE(f.monitor->screenshots().size(), 7);
        f.settle(100);
        QCOMPARE(f.monitor->screenshots().size(), 7);
        QCOMPARE(filesIn(f.folders.savedShots).filter(u"passwd"_s), QStringList());
        QCOMPARE(QFileInfo(f.listedPaths().at(0)).fileName(), u"Screenshot old.png"_s);
        QCOMPARE(QFileInfo(f.listedPaths().at(1)).fileName(), u"photo.heic"_s);
        QVERIFY(f.monitor->screenshots().at(1).thumbnail.isNull());
        QCOMPARE(f.monitor->unreadCount(), 2);
        // Files listed again are not new captures: the user's clipboard stays.
        QCOMPARE(f.clipboard.changeCount(), clipboardBefore);
    }

    void clearSavedShotsRemovesExactlyItsFilesAndItems()
    {
        MonitorFixture f;
        auto &monitor = f.start();
        QCOMPARE(monitor.savedShotsStats(), (std::pair<int, qint64>(0, 0)));  // no folder yet
        monitor.clearClipboardShots();  // missing folder: nothing happens
        QStringList saved;
        qint64 bytes = 0;
        for (int i = 0; i < 4; ++i) {
            saved << writePng(f.folders.savedShots + u"/Screenshot s%1.png"_s.arg(i), makeImage(5, 5));
            bytes += QFileInfo(saved.last()).size();
        }
        const QString desktop = writePng(f.root.path() + u"/Desktop/Screenshot d.png"_s, makeImage(5, 5));
        monitor.addScreenshots(saved + QStringList{desktop});
        QTRY_COMPARE(monitor.screenshots().size(), 5);
        const int unread = monitor.unreadCount();
        QCOMPARE(monitor.savedShotsStats(), (std::pair<int, qint64>(4, bytes)));
        monitor.clearSavedShots();
        QCOMPARE(filesIn(f.folders.savedShots), QStringList());
        QCOMPARE(f.listedPaths(), QStringList{desktop});
        QCOMPARE(f.preferences->historyPaths(), QStringList{desktop});
        QVERIFY(QFileInfo::exists(desktop));
        QCOMPARE(monitor.unreadCount(), unread);
    }
};

QTEST_GUILESS_MAIN(LocalCopiesTest)
#include "test_local_copies.moc"
