#pragma once

#include <tesseract/capi.h>

// The Tesseract library, opened on first use rather than with the program:
// most starts never recognise text, and it pulls in some forty libraries.
//
// Its OpenMP threads must be kept to one on every thread that runs an engine:
// with threads unlimited a 1080p page takes about eight times longer on a few
// cores, where the threads only contend.
class TesseractLibrary
{
public:
    // The loaded library, or null when it cannot be loaded.
    static const TesseractLibrary *instance();
    // Keeps the OpenMP regions the calling thread enters to one thread.
    void oneOpenMpThreadHere() const;

    decltype(&TessBaseAPICreate) create = nullptr;
    decltype(&TessBaseAPIDelete) destroy = nullptr;
    decltype(&TessBaseAPIInit2) init = nullptr;
    decltype(&TessBaseAPIInitForAnalysePage) initForLayout = nullptr;
    decltype(&TessBaseAPISetPageSegMode) setPageSegMode = nullptr;
    decltype(&TessBaseAPISetImage) setImage = nullptr;
    decltype(&TessBaseAPISetSourceResolution) setSourceResolution = nullptr;
    decltype(&TessBaseAPIRecognize) recognize = nullptr;
    decltype(&TessBaseAPIGetIterator) iterator = nullptr;
    decltype(&TessBaseAPIClear) clear = nullptr;
    decltype(&TessResultIteratorGetUTF8Text) lineText = nullptr;
    decltype(&TessResultIteratorNext) next = nullptr;
    decltype(&TessResultIteratorDelete) deleteIterator = nullptr;
    decltype(&TessDeleteText) deleteText = nullptr;
    decltype(&TessBaseAPISetVariable) setVariable = nullptr;
    decltype(&TessBaseAPISetRectangle) setRectangle = nullptr;
    decltype(&TessBaseAPIAnalyseLayout) analyseLayout = nullptr;
    decltype(&TessPageIteratorBoundingBox) boundingBox = nullptr;
    decltype(&TessPageIteratorBlockType) blockType = nullptr;
    decltype(&TessPageIteratorNext) nextBlock = nullptr;
    decltype(&TessPageIteratorDelete) deletePageIterator = nullptr;
    decltype(&TessBaseAPIClearPersistentCache) clearPersistentCache = nullptr;

private:
    bool load();

    void (*m_setMaxActiveLevels)(int) = nullptr;
};
