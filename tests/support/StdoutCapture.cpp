#include "tests/support/StdoutCapture.h"

#include <stdexcept>
#include <unistd.h>

namespace tarsel::test {

StdoutCapture::StdoutCapture()
{
    std::fflush(stdout);
    m_file = std::tmpfile();
    m_saved = ::dup(STDOUT_FILENO);
    if (!m_file || m_saved < 0 || ::dup2(::fileno(m_file), STDOUT_FILENO) < 0)
        throw std::runtime_error("cannot capture standard output");
}

StdoutCapture::~StdoutCapture()
{
    Stop();
}

const std::string& StdoutCapture::Text()
{
    Stop();
    return m_text;
}

void StdoutCapture::Stop()
{
    if (m_saved < 0)
        return;
    std::fflush(stdout);
    ::dup2(m_saved, STDOUT_FILENO);
    ::close(m_saved);
    m_saved = -1;
    std::rewind(m_file);
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, m_file)) > 0)
        m_text.append(buffer, got);
    std::fclose(m_file);
    m_file = nullptr;
}

} // namespace tarsel::test
