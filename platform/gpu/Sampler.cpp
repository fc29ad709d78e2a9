#include "platform/gpu/Sampler.h"

#include "platform/gpu/GLCommon.h"

#include <algorithm>
#include <utility>

namespace platform::gpu {
namespace {

bool HasAnisotropy()
{
    return epoxy_gl_version() >= 46 || epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic")
           || epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic");
}

} // namespace

Sampler::~Sampler()
{
    Reset();
}

Sampler::Sampler(Sampler&& other) noexcept : m_name(std::exchange(other.m_name, 0)), m_desc(other.m_desc) {}

Sampler& Sampler::operator=(Sampler&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_name = std::exchange(other.m_name, 0);
        m_desc = other.m_desc;
    }
    return *this;
}

bool Sampler::Create(const SamplerDesc& desc, std::string& error)
{
    Reset();
    GLenum minFilter = GL_LINEAR_MIPMAP_NEAREST;
    GLenum magFilter = GL_LINEAR;
    float anisotropy = 1.0f;
    switch (desc.filter) {
    case Filter::Point:
        minFilter = GL_NEAREST_MIPMAP_NEAREST;
        magFilter = GL_NEAREST;
        break;
    case Filter::Bilinear:
        break;
    case Filter::Trilinear:
        minFilter = GL_LINEAR_MIPMAP_LINEAR;
        break;
    case Filter::Anisotropic: {
        minFilter = GL_LINEAR_MIPMAP_LINEAR;
        GLfloat deviceMax = 1.0f;
        if (HasAnisotropy())
            glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY, &deviceMax);
        anisotropy = std::clamp(static_cast<float>(desc.maxAnisotropy), 1.0f, std::max(deviceMax, 1.0f));
        break;
    }
    }
    const GLenum wrap = desc.address == AddressMode::Wrap ? GL_REPEAT : GL_CLAMP_TO_EDGE;

    gl::ClearErrors();
    GLuint name = 0;
    glCreateSamplers(1, &name);
    glSamplerParameteri(name, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(minFilter));
    glSamplerParameteri(name, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(magFilter));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_S, static_cast<GLint>(wrap));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_T, static_cast<GLint>(wrap));
    glSamplerParameteri(name, GL_TEXTURE_WRAP_R, static_cast<GLint>(wrap));
    glSamplerParameterf(name, GL_TEXTURE_LOD_BIAS, desc.mipLodBias);
    glSamplerParameterf(name, GL_TEXTURE_MIN_LOD, desc.minLod);
    glSamplerParameterf(name, GL_TEXTURE_MAX_LOD, desc.maxLod);
    glSamplerParameterfv(name, GL_TEXTURE_BORDER_COLOR, desc.borderColor.data());
    if (HasAnisotropy())
        glSamplerParameterf(name, GL_TEXTURE_MAX_ANISOTROPY, anisotropy);
    // "Never" compares nothing: the sampler reads values, not depth comparisons.
    if (desc.comparison != Comparison::Never) {
        glSamplerParameteri(name, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
        glSamplerParameteri(name, GL_TEXTURE_COMPARE_FUNC, static_cast<GLint>(gl::ToComparison(desc.comparison)));
    }
    if (std::string glError = gl::TakeError(); !glError.empty()) {
        glDeleteSamplers(1, &name);
        error = glError;
        return false;
    }
    m_name = name;
    m_desc = desc;
    return true;
}

void Sampler::Reset()
{
    if (m_name != 0) {
        GLuint name = m_name;
        glDeleteSamplers(1, &name);
    }
    m_name = 0;
}

} // namespace platform::gpu
