#include "platform/gpu/Buffer.h"

#include "platform/gpu/GLCommon.h"

#include <atomic>
#include <utility>

namespace platform::gpu {
namespace {

std::atomic<int> g_failNext{static_cast<int>(Buffer::Result::Ok)};

} // namespace

void Buffer::FailNextCreation(Result result)
{
    g_failNext.store(static_cast<int>(result));
}

Buffer::~Buffer()
{
    Reset();
}

Buffer::Buffer(Buffer&& other) noexcept
    : m_name(std::exchange(other.m_name, 0)), m_size(std::exchange(other.m_size, 0)), m_usage(other.m_usage),
      m_mapped(std::exchange(other.m_mapped, false))
{
}

Buffer& Buffer::operator=(Buffer&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_name = std::exchange(other.m_name, 0);
        m_size = std::exchange(other.m_size, 0);
        m_usage = other.m_usage;
        m_mapped = std::exchange(other.m_mapped, false);
    }
    return *this;
}

Buffer::Result Buffer::Create(std::uint32_t bytes, const void* data, BufferUsage usage, std::string& error)
{
    Reset();
    if (bytes == 0) {
        error = "a buffer of 0 bytes";
        return Result::Failed;
    }
    if (const auto forced = static_cast<Result>(g_failNext.exchange(static_cast<int>(Result::Ok)));
        forced != Result::Ok) {
        error = forced == Result::OutOfMemory ? "GL_OUT_OF_MEMORY" : "GL error (forced)";
        return forced;
    }
    GLbitfield flags = 0;
    switch (usage) {
    case BufferUsage::Default: flags = GL_DYNAMIC_STORAGE_BIT; break;
    case BufferUsage::Immutable: flags = 0; break;
    case BufferUsage::Dynamic: flags = GL_DYNAMIC_STORAGE_BIT | GL_MAP_WRITE_BIT; break;
    }
    gl::ClearErrors();
    GLuint name = 0;
    glCreateBuffers(1, &name);
    glNamedBufferStorage(name, static_cast<GLsizeiptr>(bytes), data, flags);
    const GLenum glError = glGetError();
    if (glError != GL_NO_ERROR) {
        glDeleteBuffers(1, &name);
        gl::ClearErrors();
        if (glError == GL_OUT_OF_MEMORY) {
            error = "GL_OUT_OF_MEMORY";
            return Result::OutOfMemory;
        }
        error = "GL error " + std::to_string(glError);
        return Result::Failed;
    }
    m_name = name;
    m_size = bytes;
    m_usage = usage;
    return Result::Ok;
}

void Buffer::Reset()
{
    if (m_name != 0) {
        GLuint name = m_name;
        if (m_mapped)
            glUnmapNamedBuffer(name);
        glDeleteBuffers(1, &name);
    }
    m_name = 0;
    m_size = 0;
    m_mapped = false;
}

bool Buffer::Write(const void* data, std::uint32_t bytes, std::string& error)
{
    if (!IsValid() || m_usage == BufferUsage::Immutable || m_mapped || !data || bytes > m_size) {
        error = "the buffer cannot be written";
        return false;
    }
    if (bytes == 0)
        return true;
    gl::ClearErrors();
    glNamedBufferSubData(m_name, 0, static_cast<GLsizeiptr>(bytes), data);
    error = gl::TakeError();
    return error.empty();
}

void* Buffer::Map()
{
    if (!IsValid() || m_usage != BufferUsage::Dynamic || m_mapped)
        return nullptr;
    gl::ClearErrors();
    void* pointer = glMapNamedBufferRange(m_name, 0, static_cast<GLsizeiptr>(m_size),
                                          GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_BUFFER_BIT);
    if (!pointer) {
        gl::ClearErrors();
        return nullptr;
    }
    m_mapped = true;
    return pointer;
}

void Buffer::Unmap()
{
    if (!m_mapped)
        return;
    glUnmapNamedBuffer(m_name);
    m_mapped = false;
}

bool Buffer::Read(std::vector<std::uint8_t>& bytes) const
{
    if (!IsValid() || m_mapped)
        return false;
    bytes.resize(m_size);
    gl::ClearErrors();
    glGetNamedBufferSubData(m_name, 0, static_cast<GLsizeiptr>(m_size), bytes.data());
    return gl::TakeError().empty();
}

} // namespace platform::gpu
