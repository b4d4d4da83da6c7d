// The capture spine against a real inotify-watched temporary folder.

#include "MonitorFixture.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace TestSupport;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {
// The real watcher behind a door that stays shut for the first few tries, as
// when the watch limit is reached or the folder is briefly unreadable.
class RefusingWatcher : public FolderWatcher
{
public:
    explicit RefusingWatcher(int refusals) : m_refusals(refusals)
    {
        connect(&m_real, &FolderWatcher::changed, this, &FolderWatcher::changed);
        connect(&m_real, &FolderWatcher::entryCreated, this, &FolderWatcher::entryCreated);
        connect(&m_real, &FolderWatcher::folderLost, this, &FolderWatcher::folderLost);
    }
    bool watch(const QString &folder) override { return m_refusals-- <= 0 && m_real.watch(folder); }
    void unwatch() override { m_real.unwatch(); }

private:
    InotifyFolderWatcher m_real;
    int m_refusals;
};
}  // namespace

class FolderCaptureTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Both screenshot files land before the event loop reads the queue: one
    // batch, taken in ascending name order. A file deleted takes its item
    // along, unless a copy of it was kept.
    void screenshotsComeAfterTheSettleDelayAndGoWithTheirFiles()
    {
        MonitorFixture f;
        f.timings.settleDelay = 500ms;
        auto &monitor = f.start();
        QElapsedTimer clock;
        clock.start();
        writePng(f.shots + u"/notes.png"_s, makeImage(20, 20));
        writePng(f.shots + u"/Screenshot B.png"_s, makeImage(10, 10));
        writePng(f.shots + u"/Screenshot A.png"_s, makeImage(10, 10, Qt::darkCyan, 1));
        QTRY_COMPARE_WITH_TIMEOUT(monitor.screenshots().size(), 2, 5000);
        QVERIFY2(clock.elapsed() >= 450, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(QFileInfo(f.listedPaths().value(0)).fileName(), u"Screenshot B.png"_s);
        QCOMPARE(monitor.unreadCount(), 2);
        QCOMPARE(f.preferences->historyPaths(), f.listedPaths());
        QTest::qWait(300);  // a late addition of the other name would show up by now
        QCOMPARE(monitor.screenshots().size(), 2);

        QVERIFY(QFile::remove(f.shots + u"/Screenshot B.png"_s));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QCOMPARE(monitor.unreadCount(), 1);
        QCOMPARE(f.preferences->historyPaths(), f.listedPaths());
        f.preferences->setBool(Preferences::saveLocalCopiesKey, true);
        const QString kept = u"/Screenshot kept "_s.leftJustified(252, u'x') + u".png"_s;  // the longest name allowed
        writePng(f.shots + kept, makeImage(10, 10));
        QTRY_COMPARE(monitor.screenshots().size(), 2);
        QCOMPARE(f.listedPaths().first(), f.folders.savedShots + kept);
        QVERIFY(QFile::exists(f.listedPaths().first()));
        QVERIFY(QFile::remove(f.shots + kept));
        QTest::qWait(300);
        QCOMPARE(monitor.screenshots().size(), 2);
    }

    void filesPresentBeforeTheWatchAreNeverAdded_data()
    {
        QTest::addColumn<int>("refusals");
        QTest::newRow("watched at start") << 0;
        QTest::newRow("watched after two failed tries") << 2;
    }

    void filesPresentBeforeTheWatchAreNeverAdded()
    {
        QFETCH(int, refusals);
        RefusingWatcher refusing(refusals);  // outlives the monitor
        MonitorFixture f;
        writePng(f.shots + u"/Screenshot old.png"_s, makeImage(10, 10));
        f.folderWatcher = &refusing;
        DiagnosticRecorder diag;
        auto &monitor = f.start();
        QTRY_VERIFY(diag.contains(u"[ScreenshotMonitor] Watching: "_s + f.shots));
        writePng(f.shots + u"/Screenshot new.png"_s, makeImage(10, 10));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        writePng(f.shots + u"/Screenshot old.png"_s, makeImage(12, 12));  // touched again: still not new
        QTest::qWait(300);
        QCOMPARE(f.listedPaths(), QStringList{f.shots + u"/Screenshot new.png"_s});
    }

    // The folder is followed wherever the setting points, made after start or
    // changed later; restarting the watch leaves the clipboard poll running.
    void watchFollowsTheFolder()
    {
        MonitorFixture f;
        QVERIFY(QDir(f.shots).removeRecursively());
        DiagnosticRecorder diag;
        auto &monitor = f.start();
        const QString couldNotOpen = u"[ScreenshotMonitor] Could not open: "_s + f.shots;
        QVERIFY(diag.contains(couldNotOpen));
        QTest::qWait(250);
        QCOMPARE(diag.count(couldNotOpen), 1);
        // The first screenshot creates the folder and lands in it at once.
        const QString first = writePng(f.shots + u"/Screenshot first.png"_s, makeImage(10, 10));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QVERIFY(diag.contains(u"[ScreenshotMonitor] Watching: "_s + f.shots));

        const QString other = f.root.path() + u"/Desktop"_s;
        writePng(other + u"/Screenshot existing.png"_s, makeImage(10, 10));
        f.locator.folder = other;
        QTRY_COMPARE(monitor.watchedPath(), other);
        QTest::qWait(350);  // several polls later the lines are still printed only once
        QCOMPARE(diag.count(u"[ScreenshotMonitor] Folder changed to: "_s + other), 1);
        QCOMPARE(diag.count(u"[ScreenshotMonitor] Watching: "_s + other), 1);
        writePng(other + u"/Screenshot there.png"_s, makeImage(10, 10));
        writePng(f.shots + u"/Screenshot here.png"_s, makeImage(10, 10));
        QTRY_COMPARE(monitor.screenshots().size(), 2);
        QTest::qWait(300);
        QCOMPARE(f.listedPaths(), (QStringList{other + u"/Screenshot there.png"_s, first}));
        diag.clear();
        f.clipboard.offer({u"image/png"_s}, makeImage(16, 16));
        QTRY_VERIFY(diag.contains(u"[Clipboard] changeCount delta detected"_s));
    }

    void pendingRisesOnAnnouncementOrWriteAndFallsOnCaptureOrLifetime()
    {
        MonitorFixture f;
        auto &monitor = f.start();
        DiagnosticRecorder diag;
        QSignalSpy pending(&monitor, &ScreenshotMonitor::isPendingChanged);
        monitor.screenshotEventFired();
        QCOMPARE(diag.count(u"[Darwin] screenshotEventFired called"_s), 1);
        QTRY_VERIFY(monitor.isPending());
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY(!monitor.isPending());
        QVERIFY(clock.elapsed() >= 300);

        // A screenshot file still being written announces itself.
        QFile file(f.shots + u"/Screenshot slow.png"_s);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QTRY_VERIFY(monitor.isPending());
        QCOMPARE(monitor.screenshots().size(), 0);  // not complete yet: no item
        file.close();
        QFile::remove(file.fileName());

        const QString path = writePng(f.root.path() + u"/elsewhere/Screenshot x.png"_s, makeImage(10, 10));
        monitor.addScreenshot(path);
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QVERIFY(!monitor.isPending());
        QCOMPARE(pending.count(), 4);

        // The same file again is no capture: nothing changes, not even what is pending.
        monitor.screenshotEventFired();
        QTRY_VERIFY(monitor.isPending());
        QSignalSpy inserted(&monitor, &ScreenshotMonitor::captureInserted);
        monitor.addScreenshot(path);
        f.settle();
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(monitor.screenshots().size(), 1);
        QCOMPARE(monitor.unreadCount(), 1);
        QVERIFY(monitor.isPending());
    }
};

QTEST_GUILESS_MAIN(FolderCaptureTest)
#include "test_folder_capture.moc"
