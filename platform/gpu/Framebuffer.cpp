#include "platform/gpu/Framebuffer.h"

#include "platform/gpu/GLCommon.h"
#include "platform/gpu/Texture2D.h"

#include <array>
#include <utility>

namespace platform::gpu {

Framebuffer::~Framebuffer()
{
    Reset();
}

Framebuffer::Framebuffer(Framebuffer&& other) noexcept : m_name(std::exchange(other.m_name, 0)) {}

Framebuffer& Framebuffer::operator=(Framebuffer&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_name = std::exchange(other.m_name, 0);
    }
    return *this;
}

bool Framebuffer::Create(const Texture2D* const* colours, std::uint32_t count, std::string& error)
{
    return Create(colours, count, nullptr, error);
}

bool Framebuffer::Create(const Texture2D* const* colours, std::uint32_t count, const Texture2D* depth,
                         std::string& error)
{
    Reset();
    if (count > MaxRenderTargets) {
        error = "more than " + std::to_string(MaxRenderTargets) + " colour targets";
        return false;
    }
    gl::ClearErrors();
    GLuint name = 0;
    glCreateFramebuffers(1, &name);
    std::array<GLenum, MaxRenderTargets> drawBuffers{};
    for (std::uint32_t i = 0; i < count; ++i) {
        const Texture2D* colour = colours[i];
        if (colour && colour->IsValid()) {
            glNamedFramebufferTexture(name, GL_COLOR_ATTACHMENT0 + i, colour->GetName(), 0);
            drawBuffers[i] = GL_COLOR_ATTACHMENT0 + i;
        } else {
            drawBuffers[i] = GL_NONE;
        }
    }
    glNamedFramebufferDrawBuffers(name, static_cast<GLsizei>(count), drawBuffers.data());
    if (depth && depth->IsValid())
        glNamedFramebufferTexture(name, GL_DEPTH_STENCIL_ATTACHMENT, depth->GetName(), 0);
    const GLenum status = glCheckNamedFramebufferStatus(name, GL_DRAW_FRAMEBUFFER);
    if (std::string glError = gl::TakeError(); !glError.empty() || status != GL_FRAMEBUFFER_COMPLETE) {
        glDeleteFramebuffers(1, &name);
        error = !glError.empty() ? glError : "framebuffer incomplete (status " + std::to_string(status) + ")";
        return false;
    }
    m_name = name;
    return true;
}

void Framebuffer::Reset()
{
    if (m_name != 0) {
        GLuint name = m_name;
        glDeleteFramebuffers(1, &name);
    }
    m_name = 0;
}

} // namespace platform::gpu
