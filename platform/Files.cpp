#include "platform/Files.h"

#include <sys/stat.h>

#include <cstdlib>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

namespace platform {

namespace {

using FolderId = std::pair<dev_t, ino_t>;

struct Walk {
    const std::function<void(const std::string&)>& visit;
    std::set<FolderId> seen;

    // False when the folder cannot be read or was walked already.
    bool Enter(const std::filesystem::path& folder)
    {
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return false;
        return seen.insert({info.st_dev, info.st_ino}).second;
    }

    bool Folder(const std::filesystem::path& path, const std::string& prefix)
    {
        if (!Enter(path))
            return false;
        std::error_code ec;
        std::filesystem::directory_iterator it(path, ec);
        if (ec)
            return false;
        std::vector<std::pair<std::string, bool>> entries;
        for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
            if (ec)
                break;
            // The entry's own type is known from the listing; only links need a look at their target.
            std::error_code typeError;
            const bool folder = it->is_directory(typeError);
            entries.emplace_back(it->path().filename().string(), folder);
        }
        // std::string compares as unsigned bytes, the order every run sees.
        std::sort(entries.begin(), entries.end());
        for (const auto& [name, folder] : entries) {
            const std::string relative = prefix.empty() ? name : prefix + "/" + name;
            if (folder)
                Folder(path / name, relative);
            else
                visit(relative);
        }
        return true;
    }
};

} // namespace

bool WalkFiles(const std::filesystem::path& root, const std::function<void(const std::string& relativePath)>& visit)
{
    Walk walk{visit, {}};
    return walk.Folder(root, "");
}

bool LastWriteTime(const std::filesystem::path& path, std::filesystem::file_time_type& time)
{
    std::error_code ec;
    const auto written = std::filesystem::last_write_time(path, ec);
    if (ec)
        return false;
    time = written;
    return true;
}

std::filesystem::path DocumentsFolder()
{
    auto variable = [](const char* name) -> const char* {
        const char* value = std::getenv(name);
        return value && *value ? value : nullptr;
    };
    if (const char* documents = variable("TARSEL_DOCUMENTS"))
        return documents;
    if (const char* xdg = variable("XDG_DOCUMENTS_DIR"))
        return xdg;
    if (const char* home = variable("HOME"))
        return std::filesystem::path(home) / "Documents";
    return ".";
}

} // namespace platform
