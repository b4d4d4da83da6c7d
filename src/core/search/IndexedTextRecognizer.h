#pragma once

#include "viewer/TextRecognizer.h"

class CaptureIndex;

// Copy Text's recogniser: the text of an indexed, unchanged capture comes
// from the index at once, exactly as it was recognised; anything else goes
// to the engine, marked as work the user waits for, so that the indexer
// steps aside meanwhile.
class IndexedTextRecognizer : public TextRecognizer
{
public:
    IndexedTextRecognizer(const TextRecognizer &engine, const CaptureIndex &index);

    std::optional<QStringList> recognizeLines(const QImage &image) const override;
    std::optional<QString> knownText(const QString &path) const override;

private:
    const TextRecognizer &m_engine;
    const CaptureIndex &m_index;
};
