#include "platform/gpu/Program.h"

#include "platform/gpu/GLCommon.h"
#include "platform/gpu/Shader.h"

#include <utility>

namespace platform::gpu {
namespace {

struct TypeInfo {
    ValueKind kind = ValueKind::Float;
    std::uint32_t locations = 1;
};

TypeInfo InputType(GLenum type)
{
    switch (type) {
    case GL_INT:
    case GL_INT_VEC2:
    case GL_INT_VEC3:
    case GL_INT_VEC4: return {ValueKind::Int, 1};
    case GL_UNSIGNED_INT:
    case GL_UNSIGNED_INT_VEC2:
    case GL_UNSIGNED_INT_VEC3:
    case GL_UNSIGNED_INT_VEC4: return {ValueKind::Uint, 1};
    case GL_FLOAT_MAT2:
    case GL_FLOAT_MAT2x3:
    case GL_FLOAT_MAT2x4:
    case GL_DOUBLE_MAT2: return {ValueKind::Float, 2};
    case GL_FLOAT_MAT3:
    case GL_FLOAT_MAT3x2:
    case GL_FLOAT_MAT3x4:
    case GL_DOUBLE_MAT3: return {ValueKind::Float, 3};
    case GL_FLOAT_MAT4:
    case GL_FLOAT_MAT4x2:
    case GL_FLOAT_MAT4x3:
    case GL_DOUBLE_MAT4: return {ValueKind::Float, 4};
    default: return {ValueKind::Float, 1};
    }
}

bool IsSampler(GLenum type)
{
    switch (type) {
    case GL_SAMPLER_1D:
    case GL_SAMPLER_2D:
    case GL_SAMPLER_3D:
    case GL_SAMPLER_CUBE:
    case GL_SAMPLER_2D_SHADOW:
    case GL_SAMPLER_2D_ARRAY:
    case GL_SAMPLER_2D_MULTISAMPLE:
    case GL_SAMPLER_2D_RECT:
    case GL_INT_SAMPLER_2D:
    case GL_UNSIGNED_INT_SAMPLER_2D:
    case GL_INT_SAMPLER_2D_ARRAY:
    case GL_UNSIGNED_INT_SAMPLER_2D_ARRAY: return true;
    default: return false;
    }
}

std::string ResourceName(GLuint program, GLenum interface, GLuint index, GLint length)
{
    std::string name(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    GLsizei written = 0;
    glGetProgramResourceName(program, interface, index, static_cast<GLsizei>(name.size()), &written, name.data());
    name.resize(static_cast<std::size_t>(written));
    return name;
}

} // namespace

Program::~Program()
{
    Reset();
}

Program::Program(Program&& other) noexcept
    : m_name(std::exchange(other.m_name, 0)), m_inputs(std::move(other.m_inputs)),
      m_samplers(std::move(other.m_samplers))
{
}

Program& Program::operator=(Program&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_name = std::exchange(other.m_name, 0);
        m_inputs = std::move(other.m_inputs);
        m_samplers = std::move(other.m_samplers);
    }
    return *this;
}

bool Program::Link(const Shader* const* shaders, std::uint32_t count, std::string& log)
{
    Reset();
    log.clear();
    gl::ClearErrors();
    const GLuint name = glCreateProgram();
    if (name == 0) {
        log = "no program object: " + gl::TakeError();
        return false;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        if (shaders[i] && shaders[i]->IsValid())
            glAttachShader(name, shaders[i]->GetName());
    }
    glLinkProgram(name);
    GLint linked = GL_FALSE;
    glGetProgramiv(name, GL_LINK_STATUS, &linked);
    GLint logLength = 0;
    glGetProgramiv(name, GL_INFO_LOG_LENGTH, &logLength);
    if (logLength > 1) {
        std::string text(static_cast<std::size_t>(logLength), '\0');
        glGetProgramInfoLog(name, logLength, nullptr, text.data());
        log.assign(text.c_str());
    }
    // The shaders stay with their owners; the program keeps what it needs.
    for (std::uint32_t i = 0; i < count; ++i) {
        if (shaders[i] && shaders[i]->IsValid())
            glDetachShader(name, shaders[i]->GetName());
    }
    if (linked != GL_TRUE) {
        glDeleteProgram(name);
        if (log.empty())
            log = "the program did not link";
        return false;
    }
    m_name = name;
    Reflect();
    return true;
}

void Program::Reflect()
{
    m_inputs.clear();
    m_samplers.clear();
    GLint inputCount = 0;
    glGetProgramInterfaceiv(m_name, GL_PROGRAM_INPUT, GL_ACTIVE_RESOURCES, &inputCount);
    for (GLint i = 0; i < inputCount; ++i) {
        const GLenum properties[] = {GL_NAME_LENGTH, GL_TYPE, GL_LOCATION, GL_ARRAY_SIZE};
        GLint values[4] = {};
        glGetProgramResourceiv(m_name, GL_PROGRAM_INPUT, static_cast<GLuint>(i), 4, properties, 4, nullptr, values);
        if (values[2] < 0)
            continue; // built-in inputs (gl_VertexID, gl_InstanceID) have no location
        const TypeInfo type = InputType(static_cast<GLenum>(values[1]));
        Input input;
        input.name = ResourceName(m_name, GL_PROGRAM_INPUT, static_cast<GLuint>(i), values[0]);
        input.location = static_cast<std::uint32_t>(values[2]);
        input.locations = type.locations * static_cast<std::uint32_t>(values[3] > 0 ? values[3] : 1);
        input.kind = type.kind;
        m_inputs.push_back(std::move(input));
    }

    GLint uniformCount = 0;
    glGetProgramInterfaceiv(m_name, GL_UNIFORM, GL_ACTIVE_RESOURCES, &uniformCount);
    for (GLint i = 0; i < uniformCount; ++i) {
        const GLenum properties[] = {GL_NAME_LENGTH, GL_TYPE, GL_LOCATION, GL_ARRAY_SIZE};
        GLint values[4] = {};
        glGetProgramResourceiv(m_name, GL_UNIFORM, static_cast<GLuint>(i), 4, properties, 4, nullptr, values);
        if (!IsSampler(static_cast<GLenum>(values[1])) || values[2] < 0)
            continue;
        std::string name = ResourceName(m_name, GL_UNIFORM, static_cast<GLuint>(i), values[0]);
        if (const auto bracket = name.find('['); bracket != std::string::npos)
            name.resize(bracket);
        const GLint elements = values[3] > 0 ? values[3] : 1;
        for (GLint e = 0; e < elements; ++e) {
            GLint unit = 0;
            glGetUniformiv(m_name, values[2] + e, &unit);
            m_samplers.push_back({name, static_cast<std::uint32_t>(unit)});
        }
    }
}

void Program::Reset()
{
    if (m_name != 0)
        glDeleteProgram(m_name);
    m_name = 0;
    m_inputs.clear();
    m_samplers.clear();
}

} // namespace platform::gpu
