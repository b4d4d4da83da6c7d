#include "capture/LocalCopies.h"

#include "common/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLoggingCategory>
#include <QUuid>

Q_LOGGING_CATEGORY(lcCopies, "tarnwick.copies", QtInfoMsg)

namespace {
QDir::Filters entries()
{
    return QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
}

QString cleaned(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// A regular file whose own folder is folder itself, neither of them a link:
// deleting it can never reach a file elsewhere.
bool isOwnFileIn(const QString &folder, const QString &path)
{
    if (folder.isEmpty() || path.isEmpty())
        return false;
    const QFileInfo file(cleaned(path));
    const QFileInfo dir(cleaned(folder));
    return file.path() == dir.filePath() && !dir.isSymLink() && file.isFile() && !file.isSymLink();
}
}  // namespace

bool LocalCopies::isCapturable(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    // A file of the user's own keeps its chance even when it does not decode;
    // a link must lead to an image, or it could bring any file into the app.
    return !info.isSymLink() || !QImageReader::imageFormat(path).isEmpty();
}

LocalCopies::CopyResult LocalCopies::copyIfAbsent(const QString &source, const QString &folder)
{
    const QString dest = folder + QLatin1Char('/') + QFileInfo(source).fileName();
    if (QFileInfo::exists(dest))
        return CopyResult::alreadyThere;
    if (!isCapturable(source)) {
        qCWarning(lcCopies) << "not copied, neither a file nor a link to an image:" << source;
        return CopyResult::failed;
    }
    QDir().mkpath(folder);
    // Short, so a name already at the length limit can still be kept.
    const QString part = folder + QStringLiteral("/.%1.part").arg(QUuid::createUuid().toString(QUuid::Id128));
    if (QFile::copy(source, part) && QFile::rename(part, dest))
        return CopyResult::copied;
    QFile::remove(part);
    qCWarning(lcCopies) << "could not copy" << source << "into" << folder;
    return CopyResult::failed;
}

QString LocalCopies::keepCopy(const QString &source, const QString &folder)
{
    const QString name = QFileInfo(source).fileName();
    switch (copyIfAbsent(source, folder)) {
    case CopyResult::copied:
        Diagnostics::line(QStringLiteral("[SavedShots] Copied: ") + name);
        break;
    case CopyResult::alreadyThere:
        break;
    case CopyResult::failed:
        return source;
    }
    return folder + QLatin1Char('/') + name;
}

void LocalCopies::deleteCopied(const QString &from, const QString &to)
{
    for (const QString &name : QDir(from).entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (QFileInfo(to + QLatin1Char('/') + name).isFile())
            deleteIn(from, from + QLatin1Char('/') + name);
    }
}

bool LocalCopies::deleteIn(const QString &folder, const QString &path)
{
    return isOwnFileIn(folder, path) && QFile::remove(path);
}

void LocalCopies::deleteKept(const LocalFolders &folders, const QString &path)
{
    if (!deleteIn(folders.clipboardShots, path))
        deleteIn(folders.savedShots, path);
}

QStringList LocalCopies::candidates(const QString &folder, const std::function<bool(const QString &)> &rule)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return {};
    QStringList names;
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (rule(name))
            names << name;
    }
    return names;
}

bool LocalCopies::deleteAll(const QString &folder)
{
    QDir dir(folder);
    if (folder.isEmpty() || !dir.exists() || !dir.isReadable())
        return false;
    for (const QFileInfo &entry : dir.entryInfoList(entries()))
        deleteIn(folder, entry.absoluteFilePath());
    return true;
}

LocalCopies::Stats LocalCopies::stats(const QString &folder)
{
    Stats result;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return result;
    for (const QFileInfo &entry : dir.entryInfoList(entries())) {
        ++result.count;
        if (entry.isFile())
            result.totalSize += entry.size();
    }
    return result;
}
