#pragma once
// A second split of a content path, used by the loading screen and the sound system.
#include <string>

namespace quellor {

struct AssetPath {
    // The path is cut at its first NUL character; the last "/" or backslash separates the
    // folder from the file name.
    explicit AssetPath(const std::string& path);

    std::string directory; // before the last separator; the whole path when there is none
    std::string fileName;  // after the last separator: "game_over.ogg"
    std::string extension; // from the last "." to the end, dot included: ".ogg"; empty without one
    std::string fullPath;  // the path as given (cut at a NUL), "/" kept so that it opens here
};

} // namespace quellor
