#pragma once

#include "capture/InotifyFolderWatcher.h"
#include "capture/LocalFolders.h"
#include "capture/Preferences.h"
#include "capture/ScreenshotMonitor.h"
#include "TestDoubles.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A monitor over a real inotify-watched temporary folder, with its own
// preferences file and local folders, and fast timings.
struct MonitorFixture {
    QTemporaryDir root;
    QString shots = root.path() + QStringLiteral("/Pictures/Screenshots");
    QString dataDir = root.path() + QStringLiteral("/data/Tarnwick");
    LocalFolders folders = LocalFolders::under(dataDir);
    QString prefsFile = root.path() + QStringLiteral("/config/Tarnwick/Tarnwick.conf");
    std::unique_ptr<Preferences> preferences = std::make_unique<Preferences>(prefsFile);
    MemoryClipboard clipboard;
    FixedFolderLocator locator{shots};
    InotifyFolderWatcher watcher;
    FolderWatcher *folderWatcher = &watcher;  // a test may put another in front of it
    ScreenshotMonitor::Timings timings = fastTimings();
    std::unique_ptr<ScreenshotMonitor> monitor;

    static ScreenshotMonitor::Timings fastTimings()
    {
        ScreenshotMonitor::Timings t;
        t.settleDelay = std::chrono::milliseconds(60);
        t.pendingLifetime = std::chrono::milliseconds(400);
        t.folderPollInterval = std::chrono::milliseconds(100);
        t.missingFolderPollInterval = std::chrono::milliseconds(100);
        t.clipboardPollInterval = std::chrono::milliseconds(50);
        return t;
    }

    ScreenshotMonitor &start(Clipboard *otherClipboard = nullptr)
    {
        monitor.reset();  // the watcher is shared: the old monitor lets go of it first
        ScreenshotMonitor::Dependencies deps;
        deps.preferences = preferences.get();
        deps.clipboard = otherClipboard ? otherClipboard : &clipboard;
        deps.folderWatcher = folderWatcher;
        deps.folderLocator = &locator;
        deps.folders = folders;
        deps.thumbnailCacheDir = root.path() + QStringLiteral("/cache");
        deps.timings = timings;
        monitor = std::make_unique<ScreenshotMonitor>(deps);
        return *monitor;
    }

    // Lets the monitor's background work finish and its queued results land.
    void settle(int ms = 50)
    {
        monitor->waitForBackgroundWork();
        QTest::qWait(ms);
    }

    // Screenshot n, width × width·5/8, somewhere outside the watched folder.
    QString writeShot(int n, int width = 160) const
    {
        return TestSupport::writePng(root.path() + QStringLiteral("/in/Screenshot %1.png").arg(n, 3, 10, QLatin1Char('0')),
                                     TestSupport::makeImage(width, width * 5 / 8, Qt::darkCyan, n));
    }

    // Adds count new screenshots to the running monitor and waits until each is in.
    void addShots(int count, int width = 160)
    {
        const int before = int(monitor->screenshots().size());
        QStringList paths;
        for (int i = 0; i < count; ++i)
            paths << writeShot(before + i, width);
        QSignalSpy inserted(monitor.get(), &ScreenshotMonitor::captureInserted);
        monitor->addScreenshots(paths);
        QTRY_COMPARE_WITH_TIMEOUT(inserted.size(), count, 20000);
    }

    QStringList listedPaths() const
    {
        QStringList paths;
        for (const ScreenshotItem &item : monitor->screenshots())
            paths << item.filePath();
        return paths;
    }
};
