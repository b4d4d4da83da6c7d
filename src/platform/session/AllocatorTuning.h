#pragma once

// How the process's allocator treats the large buffers of decoded screenshots.
namespace AllocatorTuning {
// Both below. Call first thing in main, before other threads exist.
void apply();
// Large buffers mapped on their own, so that they go back to the system when freed.
void mapLargeBuffers();
// Threads share two arenas instead of taking one each.
void shareArenas();
}
