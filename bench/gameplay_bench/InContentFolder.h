#pragma once
// The graphics system finds its shaders under the working directory, as the game does: the
// gameplay benchmarks run in the built content folder while they live.
#include "tests/support/ContentDir.h"

#include <filesystem>

namespace gameplaybench {

struct InContentFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    InContentFolder()
    {
        std::error_code error;
        std::filesystem::current_path(tarsel::test::ContentDir(), error);
    }
    ~InContentFolder()
    {
        std::error_code error;
        std::filesystem::current_path(previous, error);
    }
    InContentFolder(const InContentFolder&) = delete;
    InContentFolder& operator=(const InContentFolder&) = delete;
};

} // namespace gameplaybench
