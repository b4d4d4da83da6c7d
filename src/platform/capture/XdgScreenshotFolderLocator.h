#pragma once

#include "capture/ScreenshotFolderLocator.h"

// The screenshot folder of the Linux desktops: Spectacle's configured save
// location when set, else the XDG Pictures folder + "Screenshots" (where GNOME
// saves), else ~/Desktop.
class XdgScreenshotFolderLocator : public ScreenshotFolderLocator
{
public:
    QString screenshotDirectory() const override;

    // Spectacle's save location from a spectaclerc file, or empty.
    static QString spectacleLocation(const QString &configFile);
};
