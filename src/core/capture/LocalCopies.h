#pragma once

#include "capture/LocalFolders.h"

#include <QString>
#include <QStringList>

#include <functional>

// File work behind the kept copies. A failure never loses a file: the caller
// carries on with the next one; folders are created on demand.
namespace LocalCopies {

enum class CopyResult { copied, alreadyThere, failed };

// What may become an item or a copy: a file, and when it is a link, one that
// leads to an image.
bool isCapturable(const QString &path);

// Copies source into folder unless a file of that name is already there (the
// first copy wins). The copy is written under a temporary name and renamed, so
// a file at the final name is always complete.
CopyResult copyIfAbsent(const QString &source, const QString &folder);

// Keeps a copy of source in folder and prints the "[SavedShots] Copied: " line
// when it made one. Returns the kept copy's path, or source when no complete
// copy could be made.
QString keepCopy(const QString &source, const QString &folder);

// Deletes the files of from that have a namesake in to: their copy is complete.
void deleteCopied(const QString &from, const QString &to);

// Deletes path only when it is a regular file directly in folder, never a
// link nor anything reached through one; true when it went.
bool deleteIn(const QString &folder, const QString &path);
// The same for either of the two folders; files elsewhere always stay.
void deleteKept(const LocalFolders &folders, const QString &path);

// Names in folder accepted by rule, ascending; empty when it cannot be listed.
QStringList candidates(const QString &folder, const std::function<bool(const QString &)> &rule);

// Deletes every file of folder, as deleteIn does; false when the folder could
// not be listed.
bool deleteAll(const QString &folder);

struct Stats {
    int count = 0;
    qint64 totalSize = 0;
};
Stats stats(const QString &folder);

}  // namespace LocalCopies
