#include "capture/ScreenshotNameRule.h"

namespace {
bool endsWithAny(const QString &lower, std::initializer_list<const char *> suffixes)
{
    for (const char *s : suffixes) {
        if (lower.endsWith(QLatin1String(s)))
            return true;
    }
    return false;
}
}  // namespace

bool ScreenshotNameRule::isScreenshotName(const QString &name)
{
    const QString lower = name.toLower();
    if (!endsWithAny(lower, {".png", ".jpg", ".jpeg"}))
        return false;
    return lower.contains(QLatin1String("screenshot")) || lower.contains(QLatin1String("captura de tela"))
        || lower.contains(QLatin1String("captura de pantalla"));
}

bool ScreenshotNameRule::isClipboardShotName(const QString &name)
{
    return endsWithAny(name.toLower(), {".png", ".jpg", ".jpeg", ".heic"});
}
