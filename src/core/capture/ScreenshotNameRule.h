#pragma once

#include <QString>

// Which directory entries count as captures, by name alone.
namespace ScreenshotNameRule {
// An image name (.png/.jpg/.jpeg) that names a screenshot in English,
// Portuguese or Spanish, ignoring case.
bool isScreenshotName(const QString &name);
// Any image name the clipboard folder may hold (.png/.jpg/.jpeg/.heic).
bool isClipboardShotName(const QString &name);
}  // namespace ScreenshotNameRule
