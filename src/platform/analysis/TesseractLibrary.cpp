#include "analysis/TesseractLibrary.h"

#include <dlfcn.h>

namespace {

template<typename Function>
bool resolve(void *handle, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

}  // namespace

const TesseractLibrary *TesseractLibrary::instance()
{
    static const TesseractLibrary *const library = [] {
        static TesseractLibrary loaded;
        return loaded.load() ? &loaded : nullptr;
    }();
    return library;
}

bool TesseractLibrary::load()
{
    void *handle = dlopen(TARNWICK_TESSERACT_LIBRARY, RTLD_LAZY | RTLD_LOCAL);
    if (!handle)
        return false;
    resolve(handle, "omp_set_max_active_levels", m_setMaxActiveLevels);
    // Kept loaded for the life of the process.
    return resolve(handle, "TessBaseAPICreate", create) && resolve(handle, "TessBaseAPIDelete", destroy)
           && resolve(handle, "TessBaseAPIInit2", init)
           && resolve(handle, "TessBaseAPIInitForAnalysePage", initForLayout)
           && resolve(handle, "TessBaseAPISetPageSegMode", setPageSegMode)
           && resolve(handle, "TessBaseAPISetImage", setImage)
           && resolve(handle, "TessBaseAPISetSourceResolution", setSourceResolution)
           && resolve(handle, "TessBaseAPIRecognize", recognize)
           && resolve(handle, "TessBaseAPIGetIterator", iterator) && resolve(handle, "TessBaseAPIClear", clear)
           && resolve(handle, "TessResultIteratorGetUTF8Text", lineText)
           && resolve(handle, "TessResultIteratorNext", next)
           && resolve(handle, "TessResultIteratorDelete", deleteIterator)
           && resolve(handle, "TessDeleteText", deleteText) && resolve(handle, "TessBaseAPISetVariable", setVariable)
           && resolve(handle, "TessBaseAPISetRectangle", setRectangle)
           && resolve(handle, "TessBaseAPIAnalyseLayout", analyseLayout)
           && resolve(handle, "TessPageIteratorBoundingBox", boundingBox)
           && resolve(handle, "TessPageIteratorBlockType", blockType)
           && resolve(handle, "TessPageIteratorNext", nextBlock)
           && resolve(handle, "TessPageIteratorDelete", deletePageIterator)
           && resolve(handle, "TessBaseAPIClearPersistentCache", clearPersistentCache);
}

void TesseractLibrary::oneOpenMpThreadHere() const
{
    // The library's regions ask for their thread counts explicitly, which
    // overrides omp_set_num_threads, and the runtime reads OMP_THREAD_LIMIT
    // only as it is loaded, with the program, so it is too late to set. The
    // limit on nesting is the calling thread's own: a thread that never set
    // it runs a page about eight times slower. None of the program's other
    // work uses OpenMP.
    if (m_setMaxActiveLevels)
        m_setMaxActiveLevels(0);
}
