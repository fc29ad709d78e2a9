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
      m_height(std::exchange(other.m_height, 0)), m_levels(std::exchange(other.m_levels, 0)),
      m_format(std::exchange(other.m_format, DataFormat::Unknown))
{
}

Texture2D& Texture2D::operator=(Texture2D&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_name = std::exchange(other.m_name, 0);
        m_width = std::exchange(other.m_width, 0);
        m_height = std::exchange(other.m_height, 0);
        m_levels = std::exchange(other.m_levels, 0);
        m_format = std::exchange(other.m_format, DataFormat::Unknown);
    }
    return *this;
}

std::uint32_t Texture2D::MaxSize()
{
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    return maxSize > 0 ? static_cast<std::uint32_t>(maxSize) : 0;
}

std::uint32_t Texture2D::FullChainLevels(std::uint32_t width, std::uint32_t height)
{
    std::uint32_t side = width > height ? width : height;
    std::uint32_t levels = 1;
    while (side > 1) {
        side >>= 1;
        ++levels;
    }
    return levels;
}

bool Texture2D::Create(std::uint32_t width, std::uint32_t height, DataFormat format, std::string& error,
                       std::uint32_t levels)
{
    Reset();
    const gl::PixelFormat pixel = gl::ToPixelFormat(format);
    if (pixel.internalFormat == 0) {
        error = "unsupported texture format";
        return false;
    }
    const std::uint32_t maxSize = MaxSize();
    if (width == 0 || height == 0 || width > maxSize || height > maxSize) {
        error = "texture size " + std::to_string(width) + "x" + std::to_string(height) + " outside 1.."
                + std::to_string(maxSize);
        return false;
    }
    const std::uint32_t full = FullChainLevels(width, height);
    if (levels == 0)
        levels = full;
    if (levels > full) {
        error = std::to_string(levels) + " levels for a " + std::to_string(width) + "x" + std::to_string(height)
                + " texture";
        return false;
    }
    gl::ClearErrors();
    GLuint name = 0;
    glCreateTextures(GL_TEXTURE_2D, 1, &name);
    glTextureStorage2D(name, static_cast<GLsizei>(levels), pixel.internalFormat, static_cast<GLsizei>(width),
                       static_cast<GLsizei>(height));
    glTextureParameteri(name, GL_TEXTURE_BASE_LEVEL, 0);
    glTextureParameteri(name, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(levels - 1));
    if (std::string glError = gl::TakeError(); !glError.empty()) {
        glDeleteTextures(1, &name);
        error = glError;
        return false;
    }
    m_name = name;
    m_width = width;
    m_height = height;
    m_levels = levels;
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
    m_levels = 0;
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

void Texture2D::GenerateMipmaps()
{
    if (IsValid() && m_levels > 1)
        glGenerateTextureMipmap(m_name);
}

bool Texture2D::Clear(const std::array<float, 4>& colour, std::string& error)
{
    if (!IsValid() || m_format == DataFormat::D24_UNORM_S8_UINT) {
        error = "not a colour texture";
        return false;
    }
    const gl::PixelFormat pixel = gl::ToPixelFormat(m_format);
    gl::ClearErrors();
    if (pixel.format == GL_RED_INTEGER || pixel.format == GL_RG_INTEGER || pixel.format == GL_RGB_INTEGER
        || pixel.format == GL_RGBA_INTEGER) {
        // Integer textures take integers; the colour is converted as a float-to-int cast would.
        const std::array<GLint, 4> value{static_cast<GLint>(colour[0]), static_cast<GLint>(colour[1]),
                                         static_cast<GLint>(colour[2]), static_cast<GLint>(colour[3])};
        glClearTexImage(m_name, 0, GL_RGBA_INTEGER, GL_INT, value.data());
    } else {
        glClearTexImage(m_name, 0, GL_RGBA, GL_FLOAT, colour.data());
    }
    error = gl::TakeError();
    return error.empty();
}

bool Texture2D::ClearDepthStencil(float depth, std::uint8_t stencil, std::string& error)
{
    if (!IsValid() || m_format != DataFormat::D24_UNORM_S8_UINT) {
        error = "not a depth texture";
        return false;
    }
    // GL_FLOAT_32_UNSIGNED_INT_24_8_REV: a float depth, then 24 unused bits and the stencil.
    struct {
        float depth;
        std::uint32_t stencil;
    } value{depth, stencil};
    gl::ClearErrors();
    glClearTexImage(m_name, 0, GL_DEPTH_STENCIL, GL_FLOAT_32_UNSIGNED_INT_24_8_REV, &value);
    error = gl::TakeError();
    return error.empty();
}

bool Texture2D::CopyFrom(const Texture2D& source, std::string& error)
{
    if (!IsValid() || !source.IsValid() || source.m_width != m_width || source.m_height != m_height
        || source.m_format != m_format || source.m_levels != m_levels) {
        error = "textures differ in size, format or levels";
        return false;
    }
    gl::ClearErrors();
    std::uint32_t w = m_width, h = m_height;
    for (std::uint32_t level = 0; level < m_levels; ++level) {
        glCopyImageSubData(source.m_name, GL_TEXTURE_2D, static_cast<GLint>(level), 0, 0, 0, m_name, GL_TEXTURE_2D,
                           static_cast<GLint>(level), 0, 0, 0, static_cast<GLsizei>(w), static_cast<GLsizei>(h), 1);
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
    }
    error = gl::TakeError();
    return error.empty();
}

bool Texture2D::Read(std::vector<std::uint8_t>& pixels) const
{
    if (!IsValid())
        return false;
    gl::PixelFormat pixel = gl::ToPixelFormat(m_format);
    if (m_format == DataFormat::D24_UNORM_S8_UINT)
        pixel = {pixel.internalFormat, GL_DEPTH_COMPONENT, GL_FLOAT, 4};
    const std::size_t bytes = std::size_t{m_width} * m_height * pixel.bytesPerPixel;
    pixels.resize(bytes);
    gl::ClearErrors();
    glGetTextureImage(m_name, 0, pixel.format, pixel.type, static_cast<GLsizei>(bytes), pixels.data());
    return gl::TakeError().empty();
}

} // namespace platform::gpu
