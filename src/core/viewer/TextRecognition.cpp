#include "viewer/TextRecognition.h"

#include "viewer/TextRecognizer.h"

#include <QImage>
#include <QImageReader>

namespace TextRecognition {

std::optional<QString> recognizeFile(const TextRecognizer &recognizer, const QString &path)
{
    if (std::optional<QString> known = recognizer.knownText(path))
        return known;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return recognizeImage(recognizer, image);
}

std::optional<QString> recognizeImage(const TextRecognizer &recognizer, const QImage &image)
{
    const std::optional<QStringList> lines = recognizer.recognizeLines(image);
    if (!lines)
        return std::nullopt;
    return lines->join(QLatin1Char('\n'));
}

}  // namespace TextRecognition
