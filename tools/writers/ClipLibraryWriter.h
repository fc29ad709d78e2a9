#pragma once
#include "tools/writers/AnimationWriter.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tarsel::tools::character {

// The character's animation library: the 90 blend-space clips and the 4 damage clips, each
// set's 30 clips by direction, pitch row, then plain before shot.
std::vector<std::string> LibraryNames();

struct LibraryClip {
    std::string name;
    ClipDescription clip;
};

// Every clip of the library for the character's skeleton (CharacterBuilder). The run and in-air
// clips move like the run and in-air motions, the rest like idle; each clip of a set is its own
// variant, and the set's first clip ("idle_base.anim", ...) is the set's plain motion. The
// "_blast" clips point the shooting arm toward their direction and pitch.
std::vector<LibraryClip> BuildLibrary();

// Writes the library's files into folder. Returns false, with a line on stderr, on failure.
bool WriteLibrary(const std::filesystem::path& folder);

} // namespace tarsel::tools::character
