#pragma once

#include <QString>

// The two folders of kept image files: copies of folder captures (SavedShots)
// and clipboard captures (ClipboardShots).
struct LocalFolders {
    QString savedShots;
    QString clipboardShots;

    // Below $XDG_DATA_HOME/Tarnwick.
    static LocalFolders standard();
    static LocalFolders under(const QString &dataDir);

    // True when path lies inside folder, compared on whole path components of
    // cleaned absolute paths: ".../SavedShotsOld/x" and ".../SavedShots/../x"
    // are both outside ".../SavedShots".
    static bool contains(const QString &folder, const QString &path);
    // Files are only ever deleted when this holds.
    bool livesInLocalFolder(const QString &path) const;
};
