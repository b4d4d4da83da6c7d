// libFuzzer's entry into the fuzz target named by TARNWICK_FUZZ_TARGET.

#include "FuzzTargets.h"

#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Image plugins, colour spaces and the history's timers expect the
    // application the program has; Qt gets arguments of its own.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "libfuzzer";
    static char *argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TARNWICK_FUZZ_TARGET(data, size);
    return 0;
}
