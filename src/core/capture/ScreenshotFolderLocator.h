#pragma once

#include <QString>

// Tells where the desktop's screenshot tool saves its files right now.
class ScreenshotFolderLocator
{
public:
    virtual ~ScreenshotFolderLocator() = default;
    // An absolute path; the folder need not exist yet.
    virtual QString screenshotDirectory() const = 0;
};
