#pragma once
// The collision shapes of the game's content: every shape file that a level or archetype of
// the content folder names is made by a builder of its own, looked up by file name.
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tarsel::tools {

// File name -> the bytes of the shape file.
const std::map<std::string, std::function<std::string()>>& ShapeBuilders();

// The ".shape" file names that the levels (".ql") and archetypes (".arch") below folder name
// as string values, each once, sorted.
std::vector<std::string> ShapesNamedIn(const std::filesystem::path& folder);

// Writes every shape named below folder into folder/shapes. A name without a builder is an
// error: a line on stderr and false, so that the build stops rather than ship a level whose
// collision is missing.
bool GenerateShapes(const std::filesystem::path& folder);

} // namespace tarsel::tools
