#pragma once

#include <tesseract/capi.h>

// The Tesseract library, opened on first use rather than with the program:
// most starts never recognise text, and it pulls in some forty libraries.
//
// Opening it also keeps its OpenMP threads to one. With threads unlimited a
// 1080p page takes about seven times longer on a few cores, where the threads
// only contend.
class TesseractLibrary
{
public:
    // The loaded library, or null when it cannot be loaded.
    static const TesseractLibrary *instance();

    decltype(&TessBaseAPICreate) create = nullptr;
    decltype(&TessBaseAPIDelete) destroy = nullptr;
    decltype(&TessBaseAPIInit2) init = nullptr;
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

private:
    bool load();
};
