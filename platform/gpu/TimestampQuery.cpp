#include "platform/gpu/TimestampQuery.h"

#include "platform/gpu/GLCommon.h"

#include <utility>

namespace platform::gpu {

TimestampQuery::~TimestampQuery()
{
    Reset();
}

TimestampQuery::TimestampQuery(TimestampQuery&& other) noexcept
    : m_name(std::exchange(other.m_name, 0)), m_stamped(std::exchange(other.m_stamped, false))
{
}

TimestampQuery& TimestampQuery::operator=(TimestampQuery&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_name = std::exchange(other.m_name, 0);
        m_stamped = std::exchange(other.m_stamped, false);
    }
    return *this;
}

bool TimestampQuery::Create(std::string& error)
{
    Reset();
    GLint bits = 0;
    gl::ClearErrors();
    glGetQueryiv(GL_TIMESTAMP, GL_QUERY_COUNTER_BITS, &bits);
    if (bits == 0) {
        error = "the context keeps no GPU timestamps";
        return false;
    }
    GLuint name = 0;
    glCreateQueries(GL_TIMESTAMP, 1, &name);
    if (name == 0) {
        error = "no timestamp query: " + gl::TakeError();
        return false;
    }
    m_name = name;
    return true;
}

void TimestampQuery::Reset()
{
    if (m_name != 0) {
        const GLuint name = m_name;
        glDeleteQueries(1, &name);
    }
    m_name = 0;
    m_stamped = false;
}

void TimestampQuery::Stamp()
{
    if (m_name == 0)
        return;
    glQueryCounter(m_name, GL_TIMESTAMP);
    m_stamped = true;
}

std::uint64_t TimestampQuery::GetNanoseconds() const
{
    if (m_name == 0 || !m_stamped)
        return 0;
    GLuint64 value = 0;
    // Waits until the result is available.
    glGetQueryObjectui64v(m_name, GL_QUERY_RESULT, &value);
    return value;
}

} // namespace platform::gpu
