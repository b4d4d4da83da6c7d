#pragma once

#include <QObject>
#include <QSet>
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
    // Takes in what happened in the folder until now and returns the names of
    // the entries that appeared (created or moved in) since it was last asked
    // or signalled. Listing a folder may miss an entry that appears meanwhile
    // and yet include a later one: these names tell which entries a listing
    // just made cannot vouch for. changed() follows from the event loop when
    // there are any, and so does folderLost(). None when it cannot tell.
    virtual QSet<QString> takeArrivals() { return {}; }

Q_SIGNALS:
    // Once per batch of completed writes, removals or renames (and after an
    // event-queue overflow): the folder should be listed again.
    void changed();
    // An entry appeared and may still be being written.
    void entryCreated(const QString &name);
    // The folder itself was removed or moved away; the watch has ended.
    void folderLost();
};
