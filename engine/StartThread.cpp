#include "engine/StartThread.h"

#include "platform/MainThread.h"

#include <cstdio>
#include <exception>

namespace quellor {

namespace {

void ThreadEntry(Delegate<void> body)
{
    try {
        body();
    } catch (const std::exception& error) {
        std::printf("Error: %s\n", error.what());
    } catch (const char* text) {
        std::printf("Error: %s\n", text);
    } catch (...) {
        std::printf("Error: a thread ended with an unknown exception\n");
    }
    platform::ReleaseThreadState();
}

} // namespace

std::thread StartThread(const Delegate<void>& body)
{
    return std::thread(ThreadEntry, body);
}

} // namespace quellor
