#pragma once

// How the process's allocator treats the large buffers of decoded screenshots.
namespace AllocatorTuning {
// Call first thing in main, before other threads exist.
void apply();
}
