#pragma once
#include <functional>
#include <string>

namespace platform {

// Shows a modal error box with an OK button. It only ever appears on the main thread with a real
// display driver; anywhere else (loader threads, "offscreen" or "dummy" video) it returns at
// once, so a failure can never block a headless run.
void ShowErrorBox(const std::string& title, const std::string& text);

// Replaces what ShowErrorBox does (tests record the requests). An empty function restores the
// real box.
using ErrorBoxHook = std::function<void(const std::string& title, const std::string& text)>;
void SetErrorBoxHook(ErrorBoxHook hook);

} // namespace platform
