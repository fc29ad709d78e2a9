#pragma once
#include <filesystem>
#include <optional>
#include <string>

namespace tarsel::test {

// A fresh folder for one test, removed with everything in it when the object goes.
// With setDocuments, TARSEL_DOCUMENTS points at it for the object's lifetime.
class TempDir {
public:
    explicit TempDir(bool setDocuments = false);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    // Whole-file helpers for tests that write inputs and read outputs.
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path m_path;
    std::optional<std::string> m_previousDocuments;
    bool m_setDocuments;
};

} // namespace tarsel::test
