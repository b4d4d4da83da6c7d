#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// File work behind the kept copies. Every failure is ignored and the caller
// carries on with the next file; folders are created on demand.
namespace LocalCopies {

// Copies source into folder under its own name unless a file of that name is
// already there (first copy wins); prints the "[SavedShots] Copied: " line when
// it tried. Returns the kept copy's path either way.
QString keepCopy(const QString &source, const QString &folder);

// Copies source into folder unless the name exists; true when a copy was attempted.
bool copyIfAbsent(const QString &source, const QString &folder);

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
