#include "platform/gpu/Texture2D.h"

#include "platform/gpu/GLCommon.h"

#include <utility>

namespace platform::gpu {

Texture2D::~Texture2D()
{
    Reset();
}

Texture2D::Texture2D(Texture2D&& other) noexcept
    : m_name(std::exchange(other.m_name, 0)), m_width(std::exchange(other.m_width, 0)),
      m_height(std::exchange(other.m_height, 0)), m_format(std::exchange(other.m_format, DataFormat::Unknown))
{
}

Texture2D& Texture2D::operator=(Texture2D&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_name = std::exchange(other.m_name, 0);
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
        m_format = std::exchange(other.m_format, DataFormat::Unknown);
    }
    return *this;
}

bool Texture2D::Create(std::uint32_t width, std::uint32_t height, DataFormat format, std::string& error)
{
    Reset();
    const gl::PixelFormat pixel = gl::ToPixelFormat(format);
    if (pixel.internalFormat == 0) {
        error = "unsupported texture format";
        return false;
    }
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (width == 0 || height == 0 || width > static_cast<std::uint32_t>(maxSize)
        || height > static_cast<std::uint32_t>(maxSize)) {
        error = "texture size " + std::to_string(width) + "x" + std::to_string(height) + " outside 1.."
                + std::to_string(maxSize);
        return false;
    }
    gl::ClearErrors();
    GLuint name = 0;
    glCreateTextures(GL_TEXTURE_2D, 1, &name);
    glTextureStorage2D(name, 1, pixel.internalFormat, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    glTextureParameteri(name, GL_TEXTURE_MAX_LEVEL, 0);
    if (std::string glError = gl::TakeError(); !glError.empty()) {
        glDeleteTextures(1, &name);
        error = glError;
        return false;
    }
    m_name = name;
    m_width = width;
    m_height = height;
    m_format = format;
    return true;
}

void Texture2D::Reset()
{
    if (m_name != 0) {
        GLuint name = m_name;
        glDeleteTextures(1, &name);
    }
    m_name = 0;
    m_width = 0;
    m_height = 0;
    m_format = DataFormat::Unknown;
}

bool Texture2D::Write(const void* pixels, std::string& error)
{
    if (!IsValid() || !pixels) {
        error = "no texture or no pixels";
        return false;
    }
    const gl::PixelFormat pixel = gl::ToPixelFormat(m_format);
    gl::ClearErrors();
    glTextureSubImage2D(m_name, 0, 0, 0, static_cast<GLsizei>(m_width), static_cast<GLsizei>(m_height), pixel.format,
                        pixel.type, pixels);
    error = gl::TakeError();
    return error.empty();
}

bool Texture2D::Read(std::vector<std::uint8_t>& pixels) const
{
    if (!IsValid())
        return false;
    const gl::PixelFormat pixel = gl::ToPixelFormat(m_format);
    const std::size_t bytes = std::size_t{m_width} * m_height * pixel.bytesPerPixel;
    pixels.resize(bytes);
    gl::ClearErrors();
    glGetTextureImage(m_name, 0, pixel.format, pixel.type, static_cast<GLsizei>(bytes), pixels.data());
    return gl::TakeError().empty();
}

} // namespace platform::gpu
