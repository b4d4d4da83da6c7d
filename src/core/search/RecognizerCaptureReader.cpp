#include "search/RecognizerCaptureReader.h"

#include "viewer/CodeDetector.h"
#include "viewer/CodeScan.h"
#include "viewer/TextRecognition.h"

#include <QImage>

RecognizerCaptureReader::RecognizerCaptureReader(const TextRecognizer &recognizer, const CodeDetector *codeDetector)
    : m_recognizer(recognizer)
    , m_codeDetector(codeDetector)
{
}

std::optional<CaptureContent> RecognizerCaptureReader::read(const QString &path) const
{
    // As Copy Text reads it, so that the stored text is the text it would copy.
    const QImage image = TextRecognition::readFile(path);
    if (image.isNull())
        return std::nullopt;
    std::optional<QString> text = TextRecognition::recognizeImage(m_recognizer, image);
    if (!text)
        return std::nullopt;
    CaptureContent content{std::move(*text), {}};
    if (m_codeDetector) {
        if (const std::optional<CodeScanResult> scan = CodeScan::resultFrom(m_codeDetector->detect(image)))
            content.codes = scan->payloads;
    }
    return content;
}
