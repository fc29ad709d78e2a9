#include "platform/gpu/Device.h"

#include "platform/NativeWindow.h"
#include "platform/gpu/DriverResidency.h"
#include "platform/gpu/GLCommon.h"

#include <SDL.h>

namespace platform::gpu {

Device::~Device()
{
    Destroy();
}

bool Device::Create(NativeWindow& window, std::string& error)
{
    Destroy();
    if (!window.IsValid()) {
        error = "no window: " + window.Error();
        return false;
    }
    // The context must not outlive the video subsystem that made it.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        error = SDL_GetError();
        return false;
    }
    m_videoUp = true;

    SDL_GLContext context = SDL_GL_CreateContext(window.GetSDLWindow());
    if (!context) {
        error = std::string("no OpenGL 4.5 core context: ") + SDL_GetError();
        Destroy();
        return false;
    }
    m_context = context;
    if (SDL_GL_MakeCurrent(window.GetSDLWindow(), context) != 0) {
        error = std::string("cannot make the context current: ") + SDL_GetError();
        Destroy();
        return false;
    }
    KeepDriverResident();

    const int version = epoxy_gl_version();
    GLint profile = 0;
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    if (version < 45 || (profile & GL_CONTEXT_CORE_PROFILE_BIT) == 0) {
        error = "OpenGL " + std::to_string(version / 10) + "." + std::to_string(version % 10)
                + (profile & GL_CONTEXT_CORE_PROFILE_BIT ? " core" : " compatibility") + " is below 4.5 core";
        Destroy();
        return false;
    }
    gl::ClearErrors();
    glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    if (std::string glError = gl::TakeError(); !glError.empty()) {
        error = "glClipControl failed: " + glError;
        Destroy();
        return false;
    }
    // Rows of any width are tightly packed in memory.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);

    const GLubyte* renderer = glGetString(GL_RENDERER);
    m_rendererName = renderer ? reinterpret_cast<const char*>(renderer) : "";
    m_videoMemoryMiB = 0;
    if (epoxy_has_gl_extension("GL_NVX_gpu_memory_info")) {
        GLint kib = 0;
        glGetIntegerv(GL_GPU_MEMORY_INFO_DEDICATED_VIDMEM_NVX, &kib);
        m_videoMemoryMiB = kib > 0 ? static_cast<std::uint32_t>(kib) >> 10 : 0;
    }
    GLint samples = 1;
    glGetIntegerv(GL_MAX_SAMPLES, &samples);
    m_maxSamples = samples > 1 ? static_cast<std::uint32_t>(samples) : 1;
    gl::ClearErrors();
    return true;
}

void Device::Destroy()
{
    if (m_context) {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_context));
        m_context = nullptr;
    }
    if (m_videoUp) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        m_videoUp = false;
    }
    m_rendererName.clear();
    m_videoMemoryMiB = 0;
    m_maxSamples = 1;
}

} // namespace platform::gpu
