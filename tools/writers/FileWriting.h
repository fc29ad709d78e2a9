#pragma once
#include <filesystem>
#include <string>

namespace tarsel::tools {

// Writes bytes to path, creating its folders, unless the file already holds exactly these
// bytes (so a repeated generation leaves files and their times alone). The new file is written
// beside the target and renamed into place. Returns false, with a line on stderr, on failure.
bool WriteFileIfChanged(const std::filesystem::path& path, const std::string& bytes);

// Appends the little-endian bytes of a plain value.
template <typename T>
void Append(std::string& out, const T& value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

} // namespace tarsel::tools
