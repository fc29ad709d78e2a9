#include "tools/writers/FileWriting.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace tarsel::tools {

bool WriteFileIfChanged(const std::filesystem::path& path, const std::string& bytes)
{
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec) && std::filesystem::file_size(path, ec) == bytes.size()) {
        std::ifstream in(path, std::ios::binary);
        const std::string existing((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (existing == bytes)
            return true;
    }
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path(), ec);
    const std::filesystem::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", temporary.string().c_str());
            std::filesystem::remove(temporary, ec);
            return false;
        }
    }
    // A symbolic link left by the content mirror must be replaced, not written through.
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.string().c_str(), ec.message().c_str());
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

} // namespace tarsel::tools
