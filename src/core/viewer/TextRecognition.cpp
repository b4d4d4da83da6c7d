#include "viewer/TextRecognition.h"

#include "viewer/TextRecognizer.h"

#include <QImage>
#include <QImageReader>

namespace TextRecognition {

std::optional<QString> recognizeFile(const TextRecognizer &recognizer, const QString &path)
{
    if (std::optional<QString> known = recognizer.knownText(path))
        return known;
    const QImage image = readFile(path);
    if (image.isNull())
        return std::nullopt;
    return recognizeImage(recognizer, image);
}

QImage readFile(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

std::optional<QString> recognizeImage(const TextRecognizer &recognizer, const QImage &image)
{
    const std::optional<QStringList> lines = recognizer.recognizeLines(image);
    if (!lines)
        return std::nullopt;
    return lines->join(QLatin1Char('\n'));
}

}  // namespace TextRecognition
