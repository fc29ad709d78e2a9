#pragma once
// The content name check: every file the game names (in its sources, by the names it composes,
// and inside the content itself) must be in the built content folder, every text file there
// must parse, and every class and member a level or archetype names must be one the game's
// reflection registry knows.
#include <filesystem>
#include <string>
#include <vector>

namespace tarsel::tools {

// A file the game asks for and where the name comes from ("frontend/screens/MainMenu.cpp:44",
// "composed: clip library", "materials/menu/bg.mat"). A name with a folder must exist at that
// path; a bare name anywhere in the tree, since the loaders key files by file name.
struct NamedFile {
    std::string name;
    std::string source;
};

// String literals with a content extension in the game's sources below root (its libraries and
// executable; not tests, tools, benchmarks or fuzz targets). Composed pieces ("_boid.mat") and
// bare extensions are left to ComposedNames.
std::vector<NamedFile> NamesInSources(const std::filesystem::path& root);

// Names the game builds at run time: the character's clips, the team colours' materials, the
// cosmetic entries ("model:material" pairs of the content system), the quality words and digits.
std::vector<NamedFile> ComposedNames(const std::filesystem::path& root);

// Names inside the content: textures of materials and emitters, files that levels and
// archetypes name.
std::vector<NamedFile> NamesInContent(const std::filesystem::path& content);

// The elements of the levels and archetypes below content whose class or member name the
// registry of every library's reflected classes does not know. The level reader skips such an
// element without a word, so a misspelt name would only show as a default value in play. One
// line each: "levels/Beta.ql:12: entity redSpawn: no member m_tem in SpawnPointComponent".
// An archetype's entity is named after its file.
std::vector<std::string> UnknownNames(const std::filesystem::path& content);

struct CheckReport {
    std::vector<std::string> problems; // one line each: a missing file and its source, a clash, a bad file
};

// Checks the names against the content folder, that no file name is used twice (the loaders
// key by file name: the first would win), that every level and archetype is well-formed XML
// and that the classes and members they name are known (UnknownNames).
CheckReport CheckContent(const std::filesystem::path& root, const std::filesystem::path& content);

} // namespace tarsel::tools
