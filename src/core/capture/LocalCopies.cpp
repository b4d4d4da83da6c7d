#include "capture/LocalCopies.h"

#include "common/Diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCopies, "tarnwick.copies", QtInfoMsg)

namespace {
QDir::Filters entries()
{
    return QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
}
}  // namespace

LocalCopies::CopyResult LocalCopies::copyIfAbsent(const QString &source, const QString &folder)
{
    const QString dest = folder + QLatin1Char('/') + QFileInfo(source).fileName();
    if (QFileInfo::exists(dest))
        return CopyResult::alreadyThere;
    QDir().mkpath(folder);
    const QString part = dest + QStringLiteral(".part");
    QFile::remove(part);
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
    for (const QString &name : QDir(from).entryList(QDir::Files | QDir::Hidden)) {
        if (QFileInfo(to + QLatin1Char('/') + name).isFile())
            QFile::remove(from + QLatin1Char('/') + name);
    }
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
    for (const QFileInfo &entry : dir.entryInfoList(entries())) {
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(entry.absoluteFilePath());
    }
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
