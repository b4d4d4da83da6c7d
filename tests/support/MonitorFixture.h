#pragma once

#include "capture/InotifyFolderWatcher.h"
#include "capture/LocalFolders.h"
#include "capture/Preferences.h"
#include "capture/ScreenshotMonitor.h"
#include "TestDoubles.h"
#include "TestSupport.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A monitor over a real inotify-watched temporary folder, with its own
// preferences file and local folders, and fast timings.
struct MonitorFixture {
    using ms = std::chrono::milliseconds;
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
    ScreenshotMonitor::Timings timings{.settleDelay = ms(60), .pendingLifetime = ms(400), .folderPollInterval = ms(100),
                                       .missingFolderPollInterval = ms(100), .clipboardPollInterval = ms(50)};
    std::unique_ptr<ScreenshotMonitor> monitor;

    MonitorFixture() { QDir().mkpath(shots); }  // a test may remove it again

    ScreenshotMonitor &start(Clipboard *otherClipboard = nullptr)
    {
        monitor.reset();  // the watcher is shared: the old monitor lets go of it first
        monitor = std::make_unique<ScreenshotMonitor>(ScreenshotMonitor::Dependencies{
            preferences.get(), otherClipboard ? otherClipboard : &clipboard, folderWatcher, &locator, folders,
            root.path() + QStringLiteral("/cache"), timings});
        return *monitor;
    }

    // Lets the monitor's background work finish and its queued results land.
    void settle(int waitMs = 50)
    {
        monitor->waitForBackgroundWork();
        QTest::qWait(waitMs);
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
