#pragma once

namespace platform {

// True on the process's initial thread, the one that owns the window and its event queue.
bool IsMainThread();

} // namespace platform
