#include "session/AllocatorTuning.h"

#include <malloc.h>

void AllocatorTuning::apply()
{
    mapLargeBuffers();
    shareArenas();
}

void AllocatorTuning::mapLargeBuffers()
{
    // A decoded screenshot is tens of megabytes. With a fixed threshold those
    // buffers are mapped on their own and go back to the system when freed;
    // glibc's default raises the threshold after the first such free and then
    // keeps later buffers in per-thread arenas, which never shrink.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

void AllocatorTuning::shareArenas()
{
    // The pool's threads otherwise each get an arena of their own.
    mallopt(M_ARENA_MAX, 2);
}
