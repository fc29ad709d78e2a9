#pragma once
// The engine's one way of starting a thread: runs a delegate on a new thread. The caller owns
// the returned thread and joins it; threads the game starts are joined before it exits.
#include "engine/Delegate.h"

#include <thread>

namespace quellor {

// The thread holds its own copy of the delegate. What the body throws (an empty delegate
// included) is logged as "Error: ..." on that thread instead of ending the process.
std::thread StartThread(const Delegate<void>& body);

} // namespace quellor
