#pragma once
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tarsel::test {

// Records every error box asked for (title, text) instead of showing it, for the object's
// lifetime.
class ErrorBoxRecorder {
public:
    ErrorBoxRecorder();
    ~ErrorBoxRecorder();
    ErrorBoxRecorder(const ErrorBoxRecorder&) = delete;
    ErrorBoxRecorder& operator=(const ErrorBoxRecorder&) = delete;

    std::vector<std::pair<std::string, std::string>> Requests() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::pair<std::string, std::string>> m_requests;
};

} // namespace tarsel::test
