#pragma once

#include "capture/LocalFolders.h"
#include "capture/ScreenshotItem.h"

#include <optional>

// Background half of a capture: the file work and decoding that must stay off
// the main thread. Pure functions of their inputs, safe on any thread.
namespace CaptureBuilder {

struct Capture {
    QString offeredPath;     // the file that was offered (the duplicate test uses it)
    ScreenshotItem item;
    QByteArray clipboardBytes;  // the file as it is, for the clipboard; empty when not wanted
    QString clipboardType;      // its MIME type
    quint64 fingerprint = 0; // of the pixels, 0 when the file did not decode
    bool fromClipboard = false;
};

// A file in the screenshot folder: optionally kept as a copy in SavedShots,
// decoded once for both thumbnail and clipboard (only a capture just taken goes
// to the clipboard). Empty when the file is gone.
std::optional<Capture> buildFolderCapture(const QString &path, ScreenshotSource source, bool saveLocalCopies,
                                          bool justTaken, const LocalFolders &folders);

// An item restored from the history at start, from file metadata alone (its
// thumbnail comes later): empty when the path is not an absolute file path.
std::optional<ScreenshotItem> buildRestoredItem(const QString &path);

}  // namespace CaptureBuilder
