#include "threadpriority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Platform {

bool lowerCurrentThreadPriority()
{
    // On Linux the nice value belongs to the thread: PRIO_PROCESS with a
    // thread id changes that thread only.
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    return ::setpriority(PRIO_PROCESS, thread, LowPriorityNice) == 0;
}

} // namespace Platform
