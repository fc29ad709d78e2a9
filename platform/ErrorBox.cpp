#include "platform/ErrorBox.h"

#include "platform/MainThread.h"

#include <SDL.h>

#include <cstring>
#include <mutex>
#include <utility>

namespace platform {
namespace {

std::mutex& HookMutex()
{
    static std::mutex mutex;
    return mutex;
}

ErrorBoxHook& Hook()
{
    static ErrorBoxHook hook;
    return hook;
}

bool HasRealDisplay()
{
    // Before video is up, the driver SDL would pick is the one named in the environment. With
    // none named SDL tries the desktop's, and fails at once where there is no display.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver)
        driver = SDL_getenv("SDL_VIDEODRIVER");
    if (!driver)
        return true;
    return std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

} // namespace

void ShowErrorBox(const std::string& title, const std::string& text)
{
    ErrorBoxHook hook;
    {
        std::lock_guard lock(HookMutex());
        hook = Hook();
    }
    if (hook) {
        hook(title, text);
        return;
    }
    if (!IsMainThread() || !HasRealDisplay())
        return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
}

void SetErrorBoxHook(ErrorBoxHook hook)
{
    std::lock_guard lock(HookMutex());
    Hook() = std::move(hook);
}

} // namespace platform
