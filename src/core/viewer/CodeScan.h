#pragma once

#include "viewer/CodeDetector.h"

#include <QList>
#include <QRectF>
#include <QStringList>

#include <optional>

// What the viewer shows for one image: the payloads for the results menu and
// the boxes of every located code, readable or not, for the overlay. The two
// lists are not index-aligned.
struct CodeScanResult {
    QStringList payloads;
    QList<QRectF> boxes;
};

namespace CodeScan {

// None unless at least one code has a payload.
std::optional<CodeScanResult> resultFrom(const QList<DetectedCode> &codes);
// Reads the full-size file and scans it; none when the file cannot be read.
// Blocking: run it on a worker thread.
std::optional<QList<DetectedCode>> detectInFile(const CodeDetector &detector, const QString &path);
// Whether "Open Link" is offered: the http and https schemes only, in any case.
bool isWebLink(const QString &payload);

}  // namespace CodeScan
