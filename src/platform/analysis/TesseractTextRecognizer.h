#pragma once

#include "viewer/TextRecognizer.h"

#include <QString>

// Text lines read by Tesseract's LSTM engine, English with its dictionary, in
// the reading order of its automatic page layout. Each worker thread keeps
// one engine, loaded on its first use: loading the language model costs far
// more than a small page.
class TesseractTextRecognizer : public TextRecognizer
{
public:
    // dataPath: the folder holding eng.traineddata; empty for the system's.
    explicit TesseractTextRecognizer(QString dataPath = {});

    std::optional<QStringList> recognizeLines(const QImage &image) const override;

private:
    QString m_dataPath;
};
