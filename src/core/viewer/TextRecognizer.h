#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QImage;

// Recognises printed text. Called from worker threads, several at once:
// implementations must be safe for that.
class TextRecognizer
{
public:
    virtual ~TextRecognizer() = default;
    // The text lines in reading order; none when the engine itself failed
    // (no language data, init error), which is not the same as no text.
    virtual std::optional<QStringList> recognizeLines(const QImage &image) const = 0;
    // The text of the file at path when it is already known, so that it need
    // not be read again; none otherwise.
    virtual std::optional<QString> knownText(const QString &path) const
    {
        Q_UNUSED(path);
        return std::nullopt;
    }
};
