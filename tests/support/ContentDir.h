#pragma once
// The built content folder the tests read: TARSEL_CONTENT_DIR, which CTest sets, or "content"
// in the working directory when a test binary is run by hand.
#include <cstdlib>
#include <filesystem>

namespace tarsel::test {

inline std::filesystem::path ContentDir()
{
    const char* dir = std::getenv("TARSEL_CONTENT_DIR");
    return dir ? std::filesystem::path(dir) : std::filesystem::path("content");
}

} // namespace tarsel::test
