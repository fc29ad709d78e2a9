#pragma once
// The resource system's record of one content file.
#include <filesystem>
#include <string>

namespace quellor {

struct FileInfo {
    // Splits a path relative to the working directory ("/" between folders). The write time is
    // left at its default; the resource system fills it in.
    static FileInfo FromPath(const std::string& path);

    std::string path;      // "textures/fonts/font_32.dds"
    std::string fileName;  // "font_32.dds", the key of the file table
    std::string name;      // "font_32"
    std::string extension; // "dds", without the dot; empty when the file name has none
    std::filesystem::file_time_type lastWrite{};
};

} // namespace quellor
