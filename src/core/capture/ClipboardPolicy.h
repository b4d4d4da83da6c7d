#pragma once

#include <QString>
#include <QStringList>

// Decides whether a clipboard change is a capture worth keeping.
namespace ClipboardPolicy {

// Set by shared-clipboard bridges on content that came from another device.
inline constexpr const char *remoteMarker = "com.apple.is-remote-clipboard";
// Types a screenshot tool never offers: their presence marks a copy from an
// application (text, links, files, a browser's "Copy Image").
const QStringList &nonImageTypes();

// ["a", "b"] as the diagnostics print it.
QString describeTypes(const QStringList &types);

enum class Verdict { capture, skip };
struct Decision {
    Verdict verdict;
    QString line;  // the diagnostic to print, may be empty
};

Decision decide(const QStringList &types, bool captureEnabled, bool screenshotsOnly, bool pending);

}  // namespace ClipboardPolicy
