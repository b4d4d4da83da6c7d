#pragma once

#include <QObject>
#include <QString>

// Watches one folder for entries being completed, removed or renamed.
class FolderWatcher : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // False when the folder cannot be watched (missing, unreadable).
    virtual bool watch(const QString &folder) = 0;
    virtual void unwatch() = 0;

Q_SIGNALS:
    // Once per batch of completed writes, removals or renames (and after an
    // event-queue overflow): the folder should be listed again.
    void changed();
    // An entry appeared and may still be being written.
    void entryCreated(const QString &name);
    // The folder itself was removed or moved away; the watch has ended.
    void folderLost();
};
