#pragma once

namespace platform::gpu {

// In AddressSanitizer builds, keeps the OpenGL driver libraries that are loaded now (Mesa's DRI
// driver and its EGL/GLX vendor library) mapped for the rest of the process. They are unloaded
// when the last window or context goes, and LeakSanitizer then reports the blocks they still had
// as leaks from an unknown module, which no suppression can name; kept mapped, those blocks stay
// reachable and leak checking keeps working for everything else. Does nothing in other builds.
void KeepDriverResident();

} // namespace platform::gpu
