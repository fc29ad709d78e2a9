#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace tarsel::tools {

// The binary assets the game loads by name, relative to the content folder.
const std::vector<std::string>& GeneratedContentFiles();

// Writes every generated asset into folder (files already holding the same bytes are left
// alone). fontPath is the TrueType font the bitmap fonts are made from. Returns false, with a
// line on stderr, when anything cannot be made or written.
bool GenerateContent(const std::filesystem::path& folder, const std::string& fontPath);

} // namespace tarsel::tools
