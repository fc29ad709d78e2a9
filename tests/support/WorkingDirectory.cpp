#include "tests/support/WorkingDirectory.h"

namespace tarsel::test {

WorkingDirectory::WorkingDirectory(const std::filesystem::path& folder) : m_previous(std::filesystem::current_path())
{
    std::filesystem::current_path(folder);
}

WorkingDirectory::~WorkingDirectory()
{
    std::error_code ec;
    std::filesystem::current_path(m_previous, ec);
}

} // namespace tarsel::test
