#pragma once

#include "capture/InotifyFolderWatcher.h"
#include "capture/LocalFolders.h"
#include "capture/Preferences.h"
#include "capture/ScreenshotMonitor.h"
#include "TestDoubles.h"

#include <QTemporaryDir>

#include <memory>

// A monitor over a real inotify-watched temporary folder, with its own
// preferences file and local folders, and fast timings.
struct MonitorFixture {
    QTemporaryDir root;
    QString shots = root.path() + QStringLiteral("/Pictures/Screenshots");
    QString dataDir = root.path() + QStringLiteral("/data/Tarnwick");
    LocalFolders folders = LocalFolders::under(dataDir);
    std::unique_ptr<Preferences> preferences =
        std::make_unique<Preferences>(root.path() + QStringLiteral("/config/Tarnwick/Tarnwick.conf"));
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

    QStringList listedPaths() const
    {
        QStringList paths;
        for (const ScreenshotItem &item : monitor->screenshots())
            paths << item.filePath();
        return paths;
    }
};
