#pragma once

#include "viewer/TextRecognizer.h"

#include <QString>

// Text lines read by Tesseract's LSTM engine, English with its dictionary, in
// the reading order of its automatic page layout. The layout is found once,
// on the calling thread; its text blocks are then read, largest first, by
// `engines` engines, each on a helper thread that inherits the caller's
// scheduling (idle for the indexer), and their lines joined in reading
// order, so the text does not depend on the number of engines. Each calling
// thread keeps its engines, loaded on its first use: loading the language
// model costs far more than a small page.
class TesseractTextRecognizer : public TextRecognizer
{
public:
    // dataPath: the folder holding eng.traineddata; empty for the system's.
    // engines: 1 for background work that must not take more than one core.
    explicit TesseractTextRecognizer(QString dataPath = {}, int engines = 1);

    // An empty image starts loading the engines, without waiting for them, so
    // that they load while the caller decodes its file; the page's call then
    // says whether they failed.
    std::optional<QStringList> recognizeLines(const QImage &image) const override;

    // Engines alive in the process, those finding layouts included; each
    // thread's go when the thread ends.
    static int loadedEngines();

private:
    QString m_dataPath;
    int m_engines;
};
