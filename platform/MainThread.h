#pragma once

namespace platform {

// True on the process's initial thread, the one that owns the window and its event queue.
bool IsMainThread();

// Frees what SDL keeps per thread (its error text among it). SDL frees it only for threads
// it started itself; threads of ours call this before they end.
void ReleaseThreadState();

} // namespace platform
