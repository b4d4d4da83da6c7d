#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Fuzz targets (one a file, which says what it reads): each hands one input to
// the program's own reader of that kind of outside data and checks what must
// hold whatever the input. They return 1 when the input was accepted and 0 when
// it was refused; a broken rule aborts after saying which, so the ctest driver
// and libFuzzer report it alike.
int fuzzImage(const uint8_t *data, size_t size);
int fuzzHistory(const uint8_t *data, size_t size);
int fuzzRemoteConfig(const uint8_t *data, size_t size);
int fuzzUploadReply(const uint8_t *data, size_t size);

// The folder of the image files the history inputs name; fuzzHistory creates
// them. The same path in every run, so a case reads the same each time.
QString fuzzShotFolder();

[[noreturn]] inline void fuzzFail(const char *rule)
{
    std::printf("fuzz rule broken: %s\n", rule);  // stdout: the ctest driver mutes stderr while a case runs
    std::fflush(stdout);
    std::abort();
}

#define FUZZ_REQUIRE(rule) ((rule) ? void() : fuzzFail(#rule " (" __FILE__ ":" QT_STRINGIFY(__LINE__) ")"))
