#include "analysis/TesseractTextRecognizer.h"

#include "analysis/TesseractLibrary.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QThread>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <memory>
#include <numeric>
#include <vector>

namespace {

// Screen text sits near this density; telling the engine so keeps it from
// guessing (and warning) on every page.
constexpr int kScreenDpi = 96;

std::atomic<int> g_engines{0};

struct EngineDeleter {
    void operator()(TessBaseAPI *api) const
    {
        TesseractLibrary::instance()->destroy(api);
        g_engines.fetch_sub(1, std::memory_order_relaxed);
    }
};
using Engine = std::unique_ptr<TessBaseAPI, EngineDeleter>;

Engine created(const TesseractLibrary &tess)
{
    g_engines.fetch_add(1, std::memory_order_relaxed);
    return Engine(tess.create());
}

// An engine with the English model, or null when it cannot be loaded.
Engine loaded(const TesseractLibrary &tess, const QString &dataPath)
{
    Engine api = created(tess);
    const QByteArray path = dataPath.toLocal8Bit();
    if (tess.init(api.get(), dataPath.isEmpty() ? nullptr : path.constData(), "eng", tesseract::OEM_LSTM_ONLY) != 0)
        return {};
    // The layout is known before it reads: each block is read as one.
    tess.setPageSegMode(api.get(), tesseract::PSM_SINGLE_BLOCK);
    return api;
}

// The calling thread's engines for one language-data folder: one without a
// model that finds the layout, and those that read, each on a helper thread
// while a page is read. The readers load in parallel with the layout. They
// go with the thread, and their memory with them.
struct ThreadEngines {
    QString dataPath;
    Engine layout;
    std::vector<Engine> readers;
    std::vector<std::future<Engine>> loading;  // readers asked for before a page
    bool failed = false;

    ~ThreadEngines()
    {
        loading.clear();
        readers.clear();
        // The dictionaries the readers shared stay in the library's cache
        // until it is told to drop those no engine uses; any engine can.
        if (layout)
            TesseractLibrary::instance()->clearPersistentCache(layout.get());
        layout.reset();
        // glibc keeps freed pages in the arenas of the threads that loaded
        // the model until asked to hand them back.
        malloc_trim(0);
    }
};

ThreadEngines &enginesFor(const TesseractLibrary &tess, const QString &dataPath, int count)
{
    thread_local ThreadEngines engines;
    if (engines.dataPath != dataPath || !engines.layout) {
        engines.dataPath = dataPath;
        engines.layout = created(tess);
        engines.readers.clear();
        engines.loading.clear();
        engines.failed = false;
        tess.initForLayout(engines.layout.get());
        tess.setPageSegMode(engines.layout.get(), tesseract::PSM_AUTO);
        // Only its blocks are used: looking for fixed-pitch words, some 7 %
        // of the layout's time, would serve nothing.
        tess.setVariable(engines.layout.get(), "textord_disable_pitch_test", "1");
    }
    if (int(engines.readers.size()) < count) {
        engines.readers.resize(size_t(count));
        engines.loading.resize(size_t(count));
    }
    return engines;
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

// The page as gray, dark text on light. The engine tries each line the other
// way round only when it reads it poorly, which on a dark theme is every line
// and nearly doubles the time.
QImage grayPage(const QImage &image)
{
    QImage gray = onWhite(image).convertToFormat(QImage::Format_Grayscale8);
    qint64 sum = 0;
    for (int y = 0; y < gray.height(); ++y) {
        const uchar *line = gray.constScanLine(y);
        sum = std::accumulate(line, line + gray.width(), sum);
    }
    if (sum < qint64(gray.width()) * gray.height() * 128)
        gray.invertPixels();
    return gray;
}

void setPage(const TesseractLibrary &tess, TessBaseAPI *api, const QImage &gray)
{
    tess.setImage(api, gray.constBits(), gray.width(), gray.height(), 1, int(gray.bytesPerLine()));
    tess.setSourceResolution(api, kScreenDpi);
}

// Read alone, a block's outermost letters need some of the page around them
// to come out as they do when the whole page is read.
QRect withMargin(const QRect &block, const std::vector<QRect> &blocks, const QRect &page)
{
    constexpr int kMargin = 16;
    const QRect wide = block.adjusted(-kMargin, -kMargin, kMargin, kMargin) & page;
    const bool reachesAnother = std::any_of(blocks.cbegin(), blocks.cend(), [&](const QRect &other) {
        return other != block && other.intersects(wide);
    });
    return reachesAnother ? block : wide;
}

// The page's text blocks in reading order. Pictures and rules are left out,
// as a reading of the whole page leaves them.
std::vector<QRect> textBlocks(const TesseractLibrary &tess, TessBaseAPI *api, const QRect &page)
{
    std::vector<QRect> blocks;
    TessPageIterator *it = tess.analyseLayout(api);
    if (!it)
        return blocks;
    do {
        int left = 0, top = 0, right = 0, bottom = 0;
        if (tesseract::PTIsTextType(tess.blockType(it))
            && tess.boundingBox(it, tesseract::RIL_BLOCK, &left, &top, &right, &bottom))
            blocks.emplace_back(QPoint(left, top), QPoint(right - 1, bottom - 1));
    } while (tess.nextBlock(it, tesseract::RIL_BLOCK));
    tess.deletePageIterator(it);
    std::vector<QRect> read;
    for (const QRect &block : blocks)
        read.push_back(withMargin(block, blocks, page));
    return read;
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

// Blocks handed out to the engines, largest first so that the last one to
// finish is a small one; lines kept by block, in reading order.
class BlockReading
{
public:
    BlockReading(const TesseractLibrary &tess, std::vector<QRect> blocks)
        : m_tess(tess)
        , m_blocks(std::move(blocks))
        , m_order(m_blocks.size())
        , m_lines(m_blocks.size())
    {
        std::iota(m_order.begin(), m_order.end(), size_t(0));
        std::stable_sort(m_order.begin(), m_order.end(), [this](size_t a, size_t b) {
            return qint64(m_blocks[a].width()) * m_blocks[a].height()
                   > qint64(m_blocks[b].width()) * m_blocks[b].height();
        });
    }

    // Reads blocks on api, whose page is set, until none is left; false when
    // the engine failed on one.
    bool readOn(TessBaseAPI *api)
    {
        for (size_t n = m_next++; n < m_order.size(); n = m_next++) {
            const QRect &block = m_blocks[m_order[n]];
            m_tess.setRectangle(api, block.x(), block.y(), block.width(), block.height());
            if (m_tess.recognize(api, nullptr) != 0)
                return false;
            m_lines[m_order[n]] = textLines(m_tess, api);
        }
        return true;
    }

    QStringList lines() const
    {
        QStringList all;
        for (const QStringList &block : m_lines)
            all.append(block);
        return all;
    }

private:
    const TesseractLibrary &m_tess;
    const std::vector<QRect> m_blocks;
    std::vector<size_t> m_order;
    std::vector<QStringList> m_lines;
    std::atomic<size_t> m_next{0};
};

enum class Reader { read, failed, missing };

// One reader's share of the page's blocks, on a thread of its own; with no
// page, only its model loaded.
Reader readShare(const TesseractLibrary &tess, Engine &reader, std::future<Engine> &loading,
                 const QString &dataPath, const QImage &gray, const std::shared_future<BlockReading *> &blocksFound)
{
    tess.oneOpenMpThreadHere();
    if (!reader)
        reader = loading.valid() ? loading.get() : loaded(tess, dataPath);
    if (!reader)
        return Reader::missing;  // the others read its share
    setPage(tess, reader.get(), gray);
    const bool read = blocksFound.get()->readOn(reader.get());
    tess.clear(reader.get());
    return read ? Reader::read : Reader::failed;
}

// Loads the readers not yet loaded on threads of their own, without waiting.
void startLoading(const TesseractLibrary &tess, ThreadEngines &engines, const QString &dataPath, int count)
{
    for (size_t i = 0; i < size_t(count); ++i) {
        if (engines.readers[i] || engines.loading[i].valid())
            continue;
        engines.loading[i] = std::async(std::launch::async, [&tess, dataPath] {
            tess.oneOpenMpThreadHere();
            return loaded(tess, dataPath);
        });
    }
}

}  // namespace

int TesseractTextRecognizer::loadedEngines()
{
    return g_engines.load(std::memory_order_relaxed);
}

TesseractTextRecognizer::TesseractTextRecognizer(QString dataPath, int engines)
    : m_dataPath(std::move(dataPath))
    , m_engines(std::clamp(engines, 1, std::max(1, QThread::idealThreadCount())))
{
}

std::optional<QStringList> TesseractTextRecognizer::recognizeLines(const QImage &image) const
{
    const TesseractLibrary *tess = TesseractLibrary::instance();
    if (!tess)
        return std::nullopt;
    tess->oneOpenMpThreadHere();
    ThreadEngines &engines = enginesFor(*tess, m_dataPath, m_engines);
    if (engines.failed)
        return std::nullopt;
    if (image.isNull()) {
        startLoading(*tess, engines, m_dataPath, m_engines);
        return QStringList();
    }
    const QImage gray = grayPage(image);

    std::promise<BlockReading *> layout;
    const std::shared_future<BlockReading *> blocksFound = layout.get_future().share();
    std::vector<std::future<Reader>> readers;
    // The thread may keep more engines, for another recogniser.
    for (size_t i = 0; i < size_t(m_engines); ++i) {
        readers.push_back(std::async(std::launch::async, [&, i] {
            return readShare(*tess, engines.readers[i], engines.loading[i], m_dataPath, gray, blocksFound);
        }));
    }
    setPage(*tess, engines.layout.get(), gray);
    BlockReading blocks(*tess, textBlocks(*tess, engines.layout.get(), gray.rect()));
    tess->clear(engines.layout.get());
    layout.set_value(&blocks);
    int missing = 0;
    bool failed = false;
    for (std::future<Reader> &reader : readers) {
        const Reader outcome = reader.get();
        missing += outcome == Reader::missing;
        failed = failed || outcome == Reader::failed;
    }
    engines.failed = missing == int(readers.size());
    if (failed || engines.failed)
        return std::nullopt;
    return blocks.lines();
}
