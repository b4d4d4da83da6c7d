#pragma once

#include <QString>

#include <optional>

class CaptureIndex;
class CodeDetector;
class TextRecognizer;

// The analyses the viewer offers, for scripts: no display, no running
// instance. Each returns the process's exit status.
namespace AnalysisCommands {

// Prints the text "Copy Text" would copy.
int printText(const TextRecognizer &recognizer, const QString &path);
// Prints one compact JSON object per located code:
// {"box": [x, y, w, h], "format": "QRCode", "text": "…" or null}.
int printCodes(const CodeDetector &detector, const QString &path);
// Prints one compact JSON object per capture whose text holds every word,
// newest first: {"path": "…", "snippet": "…"}. problem: why the index
// cannot be read, if it cannot.
int printSearch(const CaptureIndex &index, const std::optional<QString> &problem, const QString &words);

}  // namespace AnalysisCommands
