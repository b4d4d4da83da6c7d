#include "analysis/TesseractTextRecognizer.h"

#include "analysis/TesseractLibrary.h"

#include <QImage>
#include <QPainter>

#include <memory>

namespace {

// Screen text sits near this density; telling the engine so keeps it from
// guessing (and warning) on every page.
constexpr int kScreenDpi = 96;

struct EngineDeleter {
    void operator()(TessBaseAPI *api) const { TesseractLibrary::instance()->destroy(api); }
};
using Engine = std::unique_ptr<TessBaseAPI, EngineDeleter>;

struct ThreadEngine {
    QString dataPath;
    Engine api;
    bool failed = false;
};

// The calling thread's engine for this language-data folder, or null when it
// cannot be loaded.
TessBaseAPI *engineFor(const TesseractLibrary &tess, const QString &dataPath)
{
    thread_local ThreadEngine engine;
    if ((engine.api || engine.failed) && engine.dataPath == dataPath)
        return engine.api.get();
    engine.dataPath = dataPath;
    engine.api.reset(tess.create());
    const QByteArray path = dataPath.toLocal8Bit();
    engine.failed = tess.init(engine.api.get(), dataPath.isEmpty() ? nullptr : path.constData(), "eng",
                              tesseract::OEM_LSTM_ONLY) != 0;
    if (engine.failed) {
        engine.api.reset();
        return nullptr;
    }
    tess.setPageSegMode(engine.api.get(), tesseract::PSM_AUTO);
    return engine.api.get();
}

// Transparent parts read as white, as a viewer shows them, not as black.
QImage onWhite(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return image;
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

QStringList textLines(const TesseractLibrary &tess, TessBaseAPI *api)
{
    QStringList lines;
    TessResultIterator *it = tess.iterator(api);
    if (!it)
        return lines;
    do {
        char *text = tess.lineText(it, tesseract::RIL_TEXTLINE);
        if (!text)
            continue;
        const QString line = QString::fromUtf8(text).trimmed();
        tess.deleteText(text);
        if (!line.isEmpty())
            lines.append(line);
    } while (tess.next(it, tesseract::RIL_TEXTLINE));
    tess.deleteIterator(it);
    return lines;
}

}  // namespace

TesseractTextRecognizer::TesseractTextRecognizer(QString dataPath)
    : m_dataPath(std::move(dataPath))
{
}

std::optional<QStringList> TesseractTextRecognizer::recognizeLines(const QImage &image) const
{
    const TesseractLibrary *tess = TesseractLibrary::instance();
    TessBaseAPI *api = tess ? engineFor(*tess, m_dataPath) : nullptr;
    if (!api)
        return std::nullopt;
    if (image.isNull())
        return QStringList();
    const QImage gray = onWhite(image).convertToFormat(QImage::Format_Grayscale8);
    tess->setImage(api, gray.constBits(), gray.width(), gray.height(), 1, int(gray.bytesPerLine()));
    tess->setSourceResolution(api, kScreenDpi);
    const bool recognised = tess->recognize(api, nullptr) == 0;
    QStringList lines = recognised ? textLines(*tess, api) : QStringList();
    tess->clear(api);
    if (!recognised)
        return std::nullopt;
    return lines;
}
