#include "recognition/EngineThreads.h"

#include <cstdlib>
#include <unistd.h>

namespace EngineThreads {

void settle(char** argv) {
#if defined(__linux__)
    if (std::getenv("OMP_THREAD_LIMIT") || setenv("OMP_THREAD_LIMIT", "1", 1) != 0)
        return;
    execv("/proc/self/exe", argv);
#else
    (void)argv;
#endif
}

} // namespace EngineThreads
