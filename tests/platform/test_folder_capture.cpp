// The capture spine against a real inotify-watched temporary folder.

#include "MonitorFixture.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace TestSupport;

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

private:
    static QString shot(const MonitorFixture &f, const QString &name) { return f.shots + QLatin1Char('/') + name; }
    static QString newest(const MonitorFixture &f) { return QFileInfo(f.listedPaths().value(0)).fileName(); }

private Q_SLOTS:
    void screenshotBecomesAnItemAfterTheSettleDelay()
    {
        MonitorFixture f;
        f.timings.settleDelay = std::chrono::milliseconds(500);
        QDir().mkpath(f.shots);
        auto &monitor = f.start();
        QElapsedTimer clock;
        clock.start();
        writePng(shot(f, QStringLiteral("notes.png")), makeImage(20, 20));
        writePng(shot(f, QStringLiteral("Screenshot 1.png")), makeImage(10, 10));
        QTRY_COMPARE_WITH_TIMEOUT(monitor.screenshots().size(), 1, 5000);
        QVERIFY2(clock.elapsed() >= 450, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(newest(f), QStringLiteral("Screenshot 1.png"));
        QCOMPARE(monitor.unreadCount(), 1);
        QCOMPARE(f.preferences->historyPaths(), f.listedPaths());
        QTest::qWait(300);  // a late addition of the other name would show up by now
        QCOMPARE(monitor.screenshots().size(), 1);
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
        writePng(shot(f, QStringLiteral("Screenshot old.png")), makeImage(10, 10));
        f.folderWatcher = &refusing;
        DiagnosticRecorder diag;
        auto &monitor = f.start();
        QTRY_VERIFY(diag.contains(QStringLiteral("[ScreenshotMonitor] Watching: ") + f.shots));
        writePng(shot(f, QStringLiteral("Screenshot new.png")), makeImage(10, 10));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        writePng(shot(f, QStringLiteral("Screenshot old.png")), makeImage(12, 12));  // touched again: still not new
        QTest::qWait(300);
        QCOMPARE(f.listedPaths(), QStringList{shot(f, QStringLiteral("Screenshot new.png"))});
    }

    void oneBatchArrivesInAscendingNameOrder()
    {
        MonitorFixture f;
        QDir().mkpath(f.shots);
        auto &monitor = f.start();
        // Both files land before the event loop reads the queue: one batch.
        writePng(shot(f, QStringLiteral("Screenshot B.png")), makeImage(400, 300));
        writePng(shot(f, QStringLiteral("Screenshot A.png")), makeImage(400, 300));
        QTRY_COMPARE(monitor.screenshots().size(), 2);
        QCOMPARE(newest(f), QStringLiteral("Screenshot B.png"));
    }

    void deletingAFileRemovesItsItemUnlessKept()
    {
        MonitorFixture f;
        QDir().mkpath(f.shots);
        auto &monitor = f.start();
        writePng(shot(f, QStringLiteral("Screenshot gone.png")), makeImage(10, 10));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QVERIFY(QFile::remove(shot(f, QStringLiteral("Screenshot gone.png"))));
        QTRY_COMPARE(monitor.screenshots().size(), 0);
        QCOMPARE(monitor.unreadCount(), 0);
        QVERIFY(f.preferences->historyPaths().isEmpty());

        f.preferences->setBool(Preferences::saveLocalCopiesKey, true);
        writePng(shot(f, QStringLiteral("Screenshot kept.png")), makeImage(10, 10));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QCOMPARE(f.listedPaths(), QStringList{f.folders.savedShots + QStringLiteral("/Screenshot kept.png")});
        QVERIFY(QFile::exists(f.listedPaths().first()));
        QVERIFY(QFile::remove(shot(f, QStringLiteral("Screenshot kept.png"))));
        QTest::qWait(300);
        QCOMPARE(monitor.screenshots().size(), 1);
    }

    void folderChangeIsFollowedAndTheClipboardPollKept()
    {
        MonitorFixture f;
        QDir().mkpath(f.shots);
        auto &monitor = f.start();
        DiagnosticRecorder diag;
        const QString other = f.root.path() + QStringLiteral("/Desktop");
        writePng(other + QStringLiteral("/Screenshot existing.png"), makeImage(10, 10));
        f.locator.folder = other;
        QTRY_COMPARE(monitor.watchedPath(), other);
        QTest::qWait(350);  // several polls later the lines are still printed only once
        QCOMPARE(diag.count(QStringLiteral("[ScreenshotMonitor] Folder changed to: ") + other), 1);
        QCOMPARE(diag.count(QStringLiteral("[ScreenshotMonitor] Watching: ") + other), 1);
        writePng(other + QStringLiteral("/Screenshot there.png"), makeImage(10, 10));
        writePng(shot(f, QStringLiteral("Screenshot here.png")), makeImage(10, 10));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QTest::qWait(300);
        QCOMPARE(f.listedPaths(), QStringList{other + QStringLiteral("/Screenshot there.png")});
        // Restarting the watch left the clipboard poll running.
        diag.clear();
        f.clipboard.offer({QStringLiteral("image/png")}, makeImage(16, 16));
        QTRY_VERIFY(diag.contains(QStringLiteral("[Clipboard] changeCount delta detected")));
    }

    void folderCreatedAfterStartIsWatched()
    {
        MonitorFixture f;
        DiagnosticRecorder diag;
        auto &monitor = f.start();
        QVERIFY(diag.contains(QStringLiteral("[ScreenshotMonitor] Could not open: ") + f.shots));
        QTest::qWait(250);
        QCOMPARE(diag.count(QStringLiteral("[ScreenshotMonitor] Could not open: ") + f.shots), 1);
        // The first screenshot creates the folder and lands in it at once.
        writePng(shot(f, QStringLiteral("Screenshot first.png")), makeImage(10, 10));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QVERIFY(diag.contains(QStringLiteral("[ScreenshotMonitor] Watching: ") + f.shots));

        // Deleted and recreated: watched again.
        QVERIFY(QDir(f.shots).removeRecursively());
        QTRY_COMPARE(monitor.screenshots().size(), 0);
        writePng(shot(f, QStringLiteral("Screenshot second.png")), makeImage(10, 10));
        QTRY_COMPARE(newest(f), QStringLiteral("Screenshot second.png"));
    }

    void pendingRisesOnAnnouncementOrWriteAndFallsOnCaptureOrLifetime()
    {
        MonitorFixture f;
        QDir().mkpath(f.shots);
        auto &monitor = f.start();
        DiagnosticRecorder diag;
        QSignalSpy pending(&monitor, &ScreenshotMonitor::isPendingChanged);
        monitor.screenshotEventFired();
        QCOMPARE(diag.count(QStringLiteral("[Darwin] screenshotEventFired called")), 1);
        QTRY_VERIFY(monitor.isPending());
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY(!monitor.isPending());
        QVERIFY(clock.elapsed() >= 300);

        // A screenshot file still being written announces itself.
        QFile file(shot(f, QStringLiteral("Screenshot slow.png")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QTRY_VERIFY(monitor.isPending());
        QCOMPARE(monitor.screenshots().size(), 0);  // not complete yet: no item
        file.close();
        QFile::remove(file.fileName());

        monitor.addScreenshot(writePng(f.root.path() + QStringLiteral("/elsewhere/Screenshot x.png"), makeImage(10, 10)));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QVERIFY(!monitor.isPending());
        QCOMPARE(pending.count(), 4);
    }

    void duplicateChangesNothing()
    {
        MonitorFixture f;
        auto &monitor = f.start();
        const QString path = writePng(f.root.path() + QStringLiteral("/Screenshot dup.png"), makeImage(10, 10));
        monitor.addScreenshot(path);
        QTRY_COMPARE(monitor.screenshots().size(), 1);
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
