#pragma once
// Files and folders: directory walks and write times on std::filesystem.
#include <filesystem>
#include <functional>
#include <string>

namespace platform {

// Walks the folder `root` depth first, each folder's entries in ascending byte order of their
// names, and calls `visit` for every entry that is not a folder with its path relative to
// `root` ("/" between folders). Symbolic links are followed; every real folder is walked once,
// so a link loop ends. A folder that cannot be read contributes nothing. Returns false when
// `root` itself cannot be read.
bool WalkFiles(const std::filesystem::path& root, const std::function<void(const std::string& relativePath)>& visit);

// The user's documents folder: TARSEL_DOCUMENTS when set (tests point it at a temporary
// folder), else XDG_DOCUMENTS_DIR, else $HOME/Documents. An empty variable counts as unset;
// with none of them the working directory stands in.
std::filesystem::path DocumentsFolder();

// The last-write time of a file (of a link's target); false when it cannot be read.
bool LastWriteTime(const std::filesystem::path& path, std::filesystem::file_time_type& time);

} // namespace platform
