#pragma once

#include "capture/FolderWatcher.h"

class QSocketNotifier;

// Watches a folder with inotify. Unlike a generic file watcher it reports a
// file only once it has been closed after writing or moved into place, and it
// says when the folder itself goes away.
class InotifyFolderWatcher : public FolderWatcher
{
    Q_OBJECT
public:
    explicit InotifyFolderWatcher(QObject *parent = nullptr);
    ~InotifyFolderWatcher() override;

    bool watch(const QString &folder) override;
    void unwatch() override;
    QSet<QString> takeArrivals() override;

private:
    struct Events {
        bool changed = false;
        bool lost = false;
        QSet<QString> arrived;
    };
    // Reads every event waiting; entryCreated() is emitted on the way.
    Events read();
    void readEvents();

    int m_fd = -1;
    int m_wd = -1;
    QSocketNotifier *m_notifier = nullptr;
};
