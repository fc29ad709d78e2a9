#include "platform/MainThread.h"

#include <SDL_thread.h>

#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

bool IsMainThread()
{
    // The initial thread of a Linux process has the process id as its thread id.
    return static_cast<pid_t>(::syscall(SYS_gettid)) == ::getpid();
}

void ReleaseThreadState()
{
    SDL_TLSCleanup();
}

} // namespace platform
