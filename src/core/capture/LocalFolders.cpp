#include "capture/LocalFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString cleaned(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
}  // namespace

LocalFolders LocalFolders::standard()
{
    return under(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                 + QStringLiteral("/Tarnwick"));
}

LocalFolders LocalFolders::under(const QString &dataDir)
{
    const QString base = cleaned(dataDir);
    return {base + QStringLiteral("/SavedShots"), base + QStringLiteral("/ClipboardShots")};
}

bool LocalFolders::contains(const QString &folder, const QString &path)
{
    if (folder.isEmpty() || path.isEmpty())
        return false;
    const QString dir = cleaned(folder);
    const QString file = cleaned(path);
    return file.size() > dir.size() + 1 && file.startsWith(dir) && file.at(dir.size()) == QLatin1Char('/');
}

bool LocalFolders::livesInLocalFolder(const QString &path) const
{
    return contains(clipboardShots, path) || contains(savedShots, path);
}
