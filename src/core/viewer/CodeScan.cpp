#include "viewer/CodeScan.h"

#include "common/InteractiveWork.h"

#include <QImage>
#include <QImageReader>
#include <QUrl>

namespace CodeScan {

std::optional<CodeScanResult> resultFrom(const QList<DetectedCode> &codes)
{
    CodeScanResult result;
    for (const DetectedCode &code : codes) {
        if (code.text)
            result.payloads.append(*code.text);
        result.boxes.append(code.box);
    }
    if (result.payloads.isEmpty())
        return std::nullopt;
    return result;
}

std::optional<QList<DetectedCode>> detectInFile(const CodeDetector &detector, const QString &path)
{
    const InteractiveWork shownItem;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return detector.detect(image);
}

bool isWebLink(const QString &payload)
{
    const QUrl url(payload.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

}  // namespace CodeScan
