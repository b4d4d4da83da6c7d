#include "AnalysisCommands.h"

#include "analysis/ScreenshotFileReader.h"
#include "common/UserImageFile.h"
#include "search/CaptureIndex.h"
#include "viewer/CodeDetector.h"
#include "viewer/TextRecognition.h"
#include "viewer/TextRecognizer.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <cstdio>
#include <future>
#include <optional>

namespace AnalysisCommands {

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "tarnwick: %s\n", qUtf8Printable(message));
    return 1;
}

int unreadable(const QString &path)
{
    return fail(QCoreApplication::translate("AnalysisCommands", "%1: not an image that can be read").arg(path));
}

// Why path is refused before decoding, if it is: what the windows refuse
// (a named pipe would hold this process), and images that need a display to
// decode, as an SVG draws its text with the fonts of one (whatever the name).
std::optional<int> refused(const QString &path)
{
    const QString problem = UserImageFile::problem(QFileInfo(path).absoluteFilePath());
    if (!problem.isEmpty())
        return fail(QStringLiteral("%1: %2").arg(path, problem));
    if (QImageReader(path).format().startsWith("svg") && !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return fail(
            QCoreApplication::translate("AnalysisCommands", "%1: not an image that can be read without a display")
                .arg(path));
    return std::nullopt;
}

void write(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

// Four decimals place a box to a tenth of a pixel on a 5K screenshot.
double rounded(double value)
{
    return std::round(value * 10000) / 10000;
}

QByteArray jsonLine(const DetectedCode &code)
{
    QJsonObject object;
    object.insert(QStringLiteral("format"), code.format);
    object.insert(QStringLiteral("text"), code.text ? QJsonValue(*code.text) : QJsonValue(QJsonValue::Null));
    object.insert(QStringLiteral("box"), QJsonArray{rounded(code.box.x()), rounded(code.box.y()),
                                                    rounded(code.box.width()), rounded(code.box.height())});
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

}  // namespace

int printText(const TextRecognizer &recognizer, const QString &path)
{
    // The file is decoded while the engine's library opens and its models
    // load (an empty page starts them).
    if (const auto refusal = refused(path))
        return *refusal;
    std::future<QImage> reading = std::async(std::launch::async, ScreenshotFileReader::read, path);
    recognizer.recognizeLines(QImage());
    const QImage image = reading.get();
    if (image.isNull())
        return unreadable(path);
    const std::optional<QString> text = TextRecognition::recognizeImage(recognizer, image);
    if (!text)
        return fail(QCoreApplication::translate("AnalysisCommands",
                                                "text recognition is unavailable (is tesseract-ocr-eng installed?)"));
    if (!text->isEmpty())
        write(text->toUtf8() + '\n');
    return 0;
}

int printCodes(const CodeDetector &detector, const QString &path)
{
    if (const auto refusal = refused(path))
        return *refusal;
    const QImage image = ScreenshotFileReader::read(path);
    if (image.isNull())
        return unreadable(path);
    for (const DetectedCode &code : detector.detect(image))
        write(jsonLine(code));
    return 0;
}

int printSearch(const CaptureIndex &index, const std::optional<QString> &problem, const QString &words)
{
    if (problem)
        return fail(*problem);
    for (const CaptureHit &hit : index.search(words)) {
        const QJsonObject object{{QStringLiteral("path"), hit.path}, {QStringLiteral("snippet"), hit.snippet}};
        write(QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n');
    }
    return 0;
}

}  // namespace AnalysisCommands
