#include "platform/gpu/VertexArray.h"

#include "platform/gpu/Buffer.h"
#include "platform/gpu/GLCommon.h"

#include <utility>

namespace platform::gpu {

VertexArray::~VertexArray()
{
    Reset();
}

VertexArray::VertexArray(VertexArray&& other) noexcept : m_name(std::exchange(other.m_name, 0)) {}

VertexArray& VertexArray::operator=(VertexArray&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_name = std::exchange(other.m_name, 0);
    }
    return *this;
}

bool VertexArray::Create(std::string& error)
{
    Reset();
    gl::ClearErrors();
    GLuint name = 0;
    glCreateVertexArrays(1, &name);
    if (std::string glError = gl::TakeError(); !glError.empty() || name == 0) {
        error = glError.empty() ? "no vertex array" : glError;
        return false;
    }
    m_name = name;
    return true;
}

void VertexArray::Reset()
{
    if (m_name != 0) {
        GLuint name = m_name;
        glDeleteVertexArrays(1, &name);
    }
    m_name = 0;
}

bool VertexArray::SetAttribute(std::uint32_t location, std::uint32_t binding, DataFormat format,
                               std::uint32_t offset, std::string& error)
{
    const gl::PixelFormat pixel = gl::ToPixelFormat(format);
    GLint components = 0;
    switch (pixel.format) {
    case GL_RED:
    case GL_RED_INTEGER: components = 1; break;
    case GL_RG:
    case GL_RG_INTEGER: components = 2; break;
    case GL_RGB:
    case GL_RGB_INTEGER: components = 3; break;
    case GL_RGBA:
    case GL_RGBA_INTEGER:
    case GL_BGRA: components = 4; break;
    default: break;
    }
    if (!IsValid() || components == 0) {
        error = "not a vertex format";
        return false;
    }
    gl::ClearErrors();
    const bool integer = pixel.format == GL_RED_INTEGER || pixel.format == GL_RG_INTEGER
                         || pixel.format == GL_RGB_INTEGER || pixel.format == GL_RGBA_INTEGER;
    if (integer) {
        glVertexArrayAttribIFormat(m_name, location, components, pixel.type, offset);
    } else {
        const GLboolean normalised = pixel.type == GL_UNSIGNED_BYTE ? GL_TRUE : GL_FALSE;
        glVertexArrayAttribFormat(m_name, location, components, pixel.type, normalised, offset);
    }
    glVertexArrayAttribBinding(m_name, location, binding);
    glEnableVertexArrayAttrib(m_name, location);
    error = gl::TakeError();
    return error.empty();
}

void VertexArray::SetDivisor(std::uint32_t binding, std::uint32_t divisor)
{
    glVertexArrayBindingDivisor(m_name, binding, divisor);
}

void VertexArray::SetVertexBuffer(std::uint32_t binding, const Buffer* buffer, std::uint32_t stride)
{
    const GLuint name = buffer && buffer->IsValid() ? buffer->GetName() : 0;
    glVertexArrayVertexBuffer(m_name, binding, name, 0, name ? static_cast<GLsizei>(stride) : 0);
}

void VertexArray::SetIndexBuffer(const Buffer* buffer)
{
    glVertexArrayElementBuffer(m_name, buffer && buffer->IsValid() ? buffer->GetName() : 0);
}

} // namespace platform::gpu
