#include "platform/gpu/Shader.h"

#include "platform/gpu/GLCommon.h"

#include <utility>
#include <vector>

namespace platform::gpu {

Shader::~Shader()
{
    Reset();
}

Shader::Shader(Shader&& other) noexcept : m_name(std::exchange(other.m_name, 0)), m_stage(other.m_stage) {}

Shader& Shader::operator=(Shader&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_name = std::exchange(other.m_name, 0);
        m_stage = other.m_stage;
    }
    return *this;
}

bool Shader::Compile(ShaderStage stage, const std::string& source, std::string& log)
{
    Reset();
    log.clear();
    GLenum type = GL_VERTEX_SHADER;
    switch (stage) {
    case ShaderStage::Vertex: type = GL_VERTEX_SHADER; break;
    case ShaderStage::Pixel: type = GL_FRAGMENT_SHADER; break;
    case ShaderStage::Geometry: type = GL_GEOMETRY_SHADER; break;
    }
    gl::ClearErrors();
    const GLuint name = glCreateShader(type);
    if (name == 0) {
        log = "no shader object: " + gl::TakeError();
        return false;
    }
    const GLchar* text = source.c_str();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(name, 1, &text, &length);
    glCompileShader(name);
    GLint compiled = GL_FALSE;
    glGetShaderiv(name, GL_COMPILE_STATUS, &compiled);
    GLint logLength = 0;
    glGetShaderiv(name, GL_INFO_LOG_LENGTH, &logLength);
    if (logLength > 1) {
        std::vector<GLchar> buffer(static_cast<std::size_t>(logLength));
        glGetShaderInfoLog(name, logLength, nullptr, buffer.data());
        log.assign(buffer.data());
    }
    if (compiled != GL_TRUE) {
        glDeleteShader(name);
        if (log.empty())
            log = "the shader did not compile";
        return false;
    }
    m_name = name;
    m_stage = stage;
    return true;
}

void Shader::Reset()
{
    if (m_name != 0)
        glDeleteShader(m_name);
    m_name = 0;
}

} // namespace platform::gpu
