#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// File work behind the kept copies. A failure never loses a file: the caller
// carries on with the next one; folders are created on demand.
namespace LocalCopies {

enum class CopyResult { copied, alreadyThere, failed };

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

// Names in folder accepted by rule, ascending; empty when it cannot be listed.
QStringList candidates(const QString &folder, const std::function<bool(const QString &)> &rule);

// Deletes every entry of folder; false when the folder could not be listed.
bool deleteAll(const QString &folder);

struct Stats {
    int count = 0;
    qint64 totalSize = 0;
};
Stats stats(const QString &folder);

}  // namespace LocalCopies
