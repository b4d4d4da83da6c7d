#include "capture/ClipboardPolicy.h"

const QStringList &ClipboardPolicy::nonImageTypes()
{
    static const QStringList types{
        QStringLiteral("text/plain"),   QStringLiteral("text/plain;charset=utf-8"),
        QStringLiteral("text/uri-list"), QStringLiteral("text/x-moz-url"),
        QStringLiteral("text/rtf"),     QStringLiteral("text/html"),
        QStringLiteral("x-special/gnome-copied-files"),
    };
    return types;
}

QString ClipboardPolicy::describeTypes(const QStringList &types)
{
    QStringList quoted;
    quoted.reserve(types.size());
    for (const QString &type : types)
        quoted << QLatin1Char('"') + type + QLatin1Char('"');
    return QLatin1Char('[') + quoted.join(QStringLiteral(", ")) + QLatin1Char(']');
}

ClipboardPolicy::Decision ClipboardPolicy::decide(const QStringList &types, bool captureEnabled,
                                                  bool screenshotsOnly, bool pending)
{
    if (types.contains(QLatin1String(remoteMarker))) {
        if (!captureEnabled)
            return {Verdict::skip, QStringLiteral("[Clipboard] Skipped — remote (iPhone) and capture disabled")};
        return {Verdict::capture, QStringLiteral("[Clipboard] Remote clipboard (iPhone) — proceeding")};
    }
    bool looksNative = true;
    for (const QString &type : types) {
        if (nonImageTypes().contains(type)) {
            looksNative = false;
            break;
        }
    }
    if (screenshotsOnly && !pending && !looksNative)
        return {Verdict::skip, QStringLiteral("[Clipboard] Skipped — not a screenshot and screenshotsOnly is enabled")};
    if (looksNative && !pending)
        return {Verdict::capture, QStringLiteral("[Clipboard] Detected native screenshot via pasteboard type heuristic")};
    return {Verdict::capture, {}};
}
