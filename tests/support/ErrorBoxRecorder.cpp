#include "tests/support/ErrorBoxRecorder.h"

#include "platform/ErrorBox.h"

namespace tarsel::test {

ErrorBoxRecorder::ErrorBoxRecorder()
{
    platform::SetErrorBoxHook([this](const std::string& title, const std::string& text) {
        std::lock_guard lock(m_mutex);
        m_requests.emplace_back(title, text);
    });
}

ErrorBoxRecorder::~ErrorBoxRecorder()
{
    platform::SetErrorBoxHook({});
}

std::vector<std::pair<std::string, std::string>> ErrorBoxRecorder::Requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

} // namespace tarsel::test
