#include "search/IndexedTextRecognizer.h"

#include "common/InteractiveWork.h"
#include "search/CaptureIndex.h"

IndexedTextRecognizer::IndexedTextRecognizer(const TextRecognizer &engine, const CaptureIndex &index)
    : m_engine(engine)
    , m_index(index)
{
}

std::optional<QStringList> IndexedTextRecognizer::recognizeLines(const QImage &image) const
{
    const InteractiveWork copyText;
    return m_engine.recognizeLines(image);
}

std::optional<QString> IndexedTextRecognizer::knownText(const QString &path) const
{
    const std::optional<FileIdentity> identity = FileIdentity::of(path);
    return identity ? m_index.textOf(path, *identity) : std::nullopt;
}
