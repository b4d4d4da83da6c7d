#include "search/CaptureIndex.h"

#include <QFileInfo>

std::optional<FileIdentity> FileIdentity::of(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return std::nullopt;
    return FileIdentity{info.size(), info.lastModified().toMSecsSinceEpoch()};
}
