#pragma once

#include <QString>

class QImage;

#include <optional>

class TextRecognizer;

namespace TextRecognition {

// The text "Copy Text" puts on the clipboard: the lines of the full-size file
// joined by line feeds, empty when there is none. None when the file cannot
// be read or the engine failed, which the user is not shown. Blocking: run it
// on a worker thread.
std::optional<QString> recognizeFile(const TextRecognizer &recognizer, const QString &path);
// The same for an image already read; none only when the engine failed.
std::optional<QString> recognizeImage(const TextRecognizer &recognizer, const QImage &image);
// The file as Copy Text reads it, turned as its orientation says; null when
// it cannot be read. Blocking.
QImage readFile(const QString &path);

}  // namespace TextRecognition
