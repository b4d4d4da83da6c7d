#include "analysis/OpenMpLimit.h"

#include <cstdlib>
#include <unistd.h>

namespace OpenMpLimit {

namespace {
constexpr const char *kLimit = "OMP_THREAD_LIMIT";
// Marks the variable as ours, to be removed in the re-run.
constexpr const char *kOurs = "TARNWICK_OMP_LIMIT_SET";
}  // namespace

void apply(char **argv)
{
    if (std::getenv(kOurs)) {
        unsetenv(kOurs);
        unsetenv(kLimit);
        return;
    }
    if (std::getenv(kLimit))
        return;  // the user's own choice
    setenv(kLimit, "1", 1);
    setenv(kOurs, "1", 1);
    execv("/proc/self/exe", argv);
    // Could not run again: go on with the runtime's default threading.
    unsetenv(kOurs);
    unsetenv(kLimit);
}

}  // namespace OpenMpLimit
