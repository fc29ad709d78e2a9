#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tarsel::test {

TempDir::TempDir(bool setDocuments) : m_setDocuments(setDocuments)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarsel-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
    if (m_setDocuments) {
        if (const char* old = std::getenv("TARSEL_DOCUMENTS"))
            m_previousDocuments = old;
        setenv("TARSEL_DOCUMENTS", m_path.c_str(), 1);
    }
}

TempDir::~TempDir()
{
    if (m_setDocuments) {
        if (m_previousDocuments)
            setenv("TARSEL_DOCUMENTS", m_previousDocuments->c_str(), 1);
        else
            unsetenv("TARSEL_DOCUMENTS");
    }
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void TempDir::Write(const std::string& name, const std::string& bytes) const
{
    const auto path = m_path / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::Read(const std::string& name) const
{
    std::ifstream in(m_path / name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace tarsel::test
