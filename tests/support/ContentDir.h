#pragma once
// The built content folder the tests read: TARSEL_CONTENT_DIR, which CTest sets, or "content"
// in the working directory when a test binary is run by hand. Made absolute on the first call,
// since flow tests move the working directory into the content.
#include <cstdlib>
#include <filesystem>

namespace tarsel::test {

inline std::filesystem::path ContentDir()
{
    static const std::filesystem::path dir = [] {
        const char* set = std::getenv("TARSEL_CONTENT_DIR");
        return std::filesystem::absolute(set ? std::filesystem::path(set) : std::filesystem::path("content"));
    }();
    return dir;
}

} // namespace tarsel::test
