#include "analysis/TesseractTextRecognizer.h"

#include <QImage>

#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <memory>

namespace {

// Screen text sits near this density; telling the engine so keeps it from
// guessing (and warning) on every page.
constexpr int kScreenDpi = 96;

struct ThreadEngine {
    QString dataPath;
    std::unique_ptr<tesseract::TessBaseAPI> api;
    bool failed = false;
};

// The engine of the calling thread for this language-data folder, or null
// when it cannot be loaded.
tesseract::TessBaseAPI *engineFor(const QString &dataPath)
{
    thread_local ThreadEngine engine;
    if ((engine.api || engine.failed) && engine.dataPath == dataPath)
        return engine.api.get();
    engine.dataPath = dataPath;
    engine.api = std::make_unique<tesseract::TessBaseAPI>();
    const QByteArray path = dataPath.toLocal8Bit();
    engine.failed = engine.api->Init(dataPath.isEmpty() ? nullptr : path.constData(), "eng",
                                     tesseract::OEM_LSTM_ONLY) != 0;
    if (engine.failed) {
        engine.api.reset();
        return nullptr;
    }
    engine.api->SetPageSegMode(tesseract::PSM_AUTO);
    return engine.api.get();
}

QStringList textLines(tesseract::TessBaseAPI &api)
{
    QStringList lines;
    const std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it)
        return lines;
    do {
        const std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
        if (!text)
            continue;
        const QString line = QString::fromUtf8(text.get()).trimmed();
        if (!line.isEmpty())
            lines.append(line);
    } while (it->Next(tesseract::RIL_TEXTLINE));
    return lines;
}

}  // namespace

TesseractTextRecognizer::TesseractTextRecognizer(QString dataPath)
    : m_dataPath(std::move(dataPath))
{
}

std::optional<QStringList> TesseractTextRecognizer::recognizeLines(const QImage &image) const
{
    tesseract::TessBaseAPI *api = engineFor(m_dataPath);
    if (!api)
        return std::nullopt;
    if (image.isNull())
        return QStringList();
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    api->SetImage(gray.constBits(), gray.width(), gray.height(), 1, int(gray.bytesPerLine()));
    api->SetSourceResolution(kScreenDpi);
    if (api->Recognize(nullptr) != 0) {
        api->Clear();
        return std::nullopt;
    }
    QStringList lines = textLines(*api);
    api->Clear();
    return lines;
}
