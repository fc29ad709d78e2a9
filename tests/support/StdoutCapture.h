#pragma once
#include <cstdio>
#include <string>

namespace tarsel::test {

// Everything written to standard output (file descriptor 1) between construction and Text().
class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Stops capturing (on the first call) and returns what was written.
    const std::string& Text();

private:
    void Stop();

    int m_saved = -1;
    std::FILE* m_file = nullptr;
    std::string m_text;
};

} // namespace tarsel::test
