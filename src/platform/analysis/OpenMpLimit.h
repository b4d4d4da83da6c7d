#pragma once

// Keeps the text recogniser's OpenMP pool to one thread. On a few cores its
// threads only contend: a 1080p page takes about seven times longer.
namespace OpenMpLimit {

// Call first thing in main. The OpenMP runtime reads its thread limit once,
// when it is loaded with the program, so setting it here is too late for this
// process: when the user has not set one, the program runs itself again with
// OMP_THREAD_LIMIT=1. The re-run takes the variable out again, once the
// runtime has read it, so that programs it starts do not inherit it.
// Returns only when this process should go on.
void apply(char **argv);

}  // namespace OpenMpLimit
