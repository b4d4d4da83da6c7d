// The capture spine against a real inotify-watched temporary folder.

#include "MonitorFixture.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace TestSupport;

class FolderCaptureTest : public QObject
{
    Q_OBJECT

private:
    static QString shot(const MonitorFixture &f, const QString &name) { return f.shots + QLatin1Char('/') + name; }

private Q_SLOTS:
    void screenshotNamesBecomeItemsAfterSettling()
    {
        MonitorFixture f;
        QDir().mkpath(f.shots);
        auto &monitor = f.start();
        DiagnosticRecorder diag;
        writePng(shot(f, QStringLiteral("notes.png")), makeImage(20, 20));
        writePng(shot(f, QStringLiteral("Screenshot.tiff")), makeImage(20, 20));
        const QString first = writePng(shot(f, QStringLiteral("Screenshot 2024-01-01 at 10.00.00.png")),
                                       makeImage(30, 20));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QCOMPARE(monitor.screenshots().first().filePath(), first);
        QCOMPARE(monitor.unreadCount(), 1);
        const QImage jpeg = makeImage(40, 30, Qt::red);
        QVERIFY(jpeg.save(shot(f, QStringLiteral("CAPTURA DE TELA 1.JPEG")), "JPEG"));
        QTRY_COMPARE(monitor.screenshots().size(), 2);
        QVERIFY(monitor.screenshots().first().filePath().endsWith(QLatin1String("CAPTURA DE TELA 1.JPEG")));
        QTest::qWait(300);  // a late addition of the ignored names would show up by now
        QCOMPARE(monitor.screenshots().size(), 2);
        QCOMPARE(monitor.unreadCount(), 2);
        QCOMPARE(f.preferences->historyPaths(), f.listedPaths());
    }

    void captureWaitsForTheSettleDelay()
    {
        MonitorFixture f;
        f.timings.settleDelay = std::chrono::milliseconds(500);
        QDir().mkpath(f.shots);
        auto &monitor = f.start();
        QElapsedTimer clock;
        clock.start();
        writePng(shot(f, QStringLiteral("Screenshot 1.png")), makeImage(10, 10));
        QTRY_COMPARE_WITH_TIMEOUT(monitor.screenshots().size(), 1, 5000);
        QVERIFY2(clock.elapsed() >= 450, qPrintable(QString::number(clock.elapsed())));
    }

    void filesPresentBeforeStartAreNeverAdded()
    {
        MonitorFixture f;
        writePng(shot(f, QStringLiteral("Screenshot old.png")), makeImage(10, 10));
        auto &monitor = f.start();
        writePng(shot(f, QStringLiteral("Screenshot new.png")), makeImage(10, 10));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QVERIFY(monitor.screenshots().first().filePath().endsWith(QLatin1String("Screenshot new.png")));
        // Touching the old file again does not make it new.
        writePng(shot(f, QStringLiteral("Screenshot old.png")), makeImage(12, 12));
        QTest::qWait(300);
        QCOMPARE(monitor.screenshots().size(), 1);
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
        QVERIFY(monitor.screenshots().at(0).filePath().endsWith(QLatin1String("Screenshot B.png")));
        QVERIFY(monitor.screenshots().at(1).filePath().endsWith(QLatin1String("Screenshot A.png")));
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
        const QString kept = monitor.screenshots().first().filePath();
        QCOMPARE(kept, f.folders.savedShots + QStringLiteral("/Screenshot kept.png"));
        QVERIFY(QFile::exists(kept));
        QVERIFY(QFile::remove(shot(f, QStringLiteral("Screenshot kept.png"))));
        QTest::qWait(300);
        QCOMPARE(monitor.screenshots().size(), 1);
    }

    void folderChangeIsFollowed()
    {
        MonitorFixture f;
        QDir().mkpath(f.shots);
        auto &monitor = f.start();
        DiagnosticRecorder diag;
        const QString other = f.root.path() + QStringLiteral("/Desktop");
        QDir().mkpath(other);
        writePng(other + QStringLiteral("/Screenshot existing.png"), makeImage(10, 10));
        f.locator.folder = other;
        QTRY_COMPARE(monitor.watchedPath(), other);
        QTest::qWait(350);  // several polls later the line is still printed only once
        QCOMPARE(diag.count(QStringLiteral("[ScreenshotMonitor] Folder changed to: ") + other), 1);
        QCOMPARE(diag.count(QStringLiteral("[ScreenshotMonitor] Watching: ") + other), 1);
        writePng(other + QStringLiteral("/Screenshot there.png"), makeImage(10, 10));
        writePng(shot(f, QStringLiteral("Screenshot here.png")), makeImage(10, 10));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QTest::qWait(300);
        QCOMPARE(f.listedPaths(), QStringList{other + QStringLiteral("/Screenshot there.png")});
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
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QVERIFY(monitor.screenshots().first().filePath().endsWith(QLatin1String("Screenshot second.png")));
    }

    void restartingTheWatchKeepsTheClipboardPoll()
    {
        MonitorFixture f;
        QDir().mkpath(f.shots);
        auto &monitor = f.start();
        f.locator.folder = f.root.path() + QStringLiteral("/elsewhere");
        QTRY_COMPARE(monitor.watchedPath(), f.locator.folder);
        DiagnosticRecorder diag;
        f.clipboard.offer({QStringLiteral("image/png")}, makeImage(16, 16));
        QTRY_VERIFY(diag.contains(QStringLiteral("[Clipboard] changeCount delta detected")));
    }

    void screenshotEventRaisesPendingUntilCaptureOrLifetime()
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

        monitor.screenshotEventFired();
        QTRY_VERIFY(monitor.isPending());
        monitor.addScreenshot(writePng(f.root.path() + QStringLiteral("/elsewhere/Screenshot x.png"),
                                       makeImage(10, 10)));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QVERIFY(!monitor.isPending());
        QCOMPARE(pending.count(), 4);
    }

    void fileBeingWrittenRaisesPending()
    {
        MonitorFixture f;
        QDir().mkpath(f.shots);
        auto &monitor = f.start();
        QFile file(shot(f, QStringLiteral("Screenshot slow.png")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QTRY_VERIFY(monitor.isPending());
        QCOMPARE(monitor.screenshots().size(), 0);  // not complete yet: no item
        file.close();
        QFile::remove(file.fileName());
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
        monitor.waitForBackgroundWork();
        QTest::qWait(50);
        QCOMPARE(inserted.count(), 0);
        QCOMPARE(monitor.screenshots().size(), 1);
        QCOMPARE(monitor.unreadCount(), 1);
        QVERIFY(monitor.isPending());
    }

    void capKeepsTheNewestHundred()
    {
        MonitorFixture f;
        auto &monitor = f.start();
        QStringList paths;
        for (int i = 0; i < 103; ++i)
            paths << writePng(f.root.path() + QStringLiteral("/in/Screenshot %1.png").arg(i, 3, 10, QLatin1Char('0')),
                              makeImage(8, 8, Qt::blue, i));
        monitor.addScreenshots(paths);
        QTRY_COMPARE(monitor.unreadCount(), 103);
        QCOMPARE(monitor.screenshots().size(), ScreenshotMonitor::maxItems);
        QStringList newestFirst;
        for (int i = 102; i >= 3; --i)
            newestFirst << paths.at(i);
        QCOMPARE(f.preferences->historyPaths(), newestFirst);
    }

    void deliveredFirstPixelsAreTheThumbnails()
    {
        MonitorFixture f;
        auto &monitor = f.start();
        monitor.addScreenshot(writePng(f.root.path() + QStringLiteral("/Screenshot wide.png"), makeImage(1280, 800)));
        QTRY_COMPARE(monitor.screenshots().size(), 1);
        QCOMPARE(monitor.screenshots().first().thumbnail.size(), QSize(640, 400));
        monitor.addScreenshot(writePng(f.root.path() + QStringLiteral("/Screenshot small.png"), makeImage(320, 500)));
        QTRY_COMPARE(monitor.screenshots().size(), 2);
        QCOMPARE(monitor.screenshots().first().thumbnail.size(), QSize(320, 500));
        // A new folder capture also goes to the clipboard, at full size.
        QCOMPARE(f.clipboard.image().size(), QSize(320, 500));
    }
};

QTEST_GUILESS_MAIN(FolderCaptureTest)
#include "test_folder_capture.moc"
