#include "capture/XdgScreenshotFolderLocator.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

namespace {
QString expandHome(QString path)
{
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path.replace(0, 1, QDir::homePath());
    return path;
}

QString readText(const QSettings &settings, const QString &key)
{
    const QVariant value = settings.value(key);
    // A comma in a path makes QSettings split the value into a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}
}  // namespace

QString XdgScreenshotFolderLocator::spectacleLocation(const QString &configFile)
{
    if (!QFileInfo::exists(configFile))
        return {};
    const QSettings settings(configFile, QSettings::IniFormat);
    for (const char *key : {"ImageSave/imageSaveLocation", "Save/defaultSaveLocation"}) {
        QString value = readText(settings, QLatin1String(key)).trimmed();
        if (value.isEmpty())
            continue;
        if (value.startsWith(QLatin1String("file:")))
            value = QUrl(value).toLocalFile();
        value = expandHome(value);
        if (QDir::isAbsolutePath(value))
            return QDir::cleanPath(value);
    }
    return {};
}

QString XdgScreenshotFolderLocator::screenshotDirectory() const
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (QString spectacle = spectacleLocation(config + QStringLiteral("/spectaclerc")); !spectacle.isEmpty())
        return spectacle;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QDir::cleanPath(pictures) != QDir::cleanPath(QDir::homePath()))
        return QDir::cleanPath(pictures + QStringLiteral("/Screenshots"));
    return QDir::homePath() + QStringLiteral("/Desktop");
}
