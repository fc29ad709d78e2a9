#include "engine/FileInfo.h"

namespace quellor {

FileInfo FileInfo::FromPath(const std::string& path)
{
    FileInfo info;
    info.path = path;
    const std::size_t slash = path.rfind('/');
    info.fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = info.fileName.rfind('.');
    if (dot == std::string::npos) {
        info.name = info.fileName;
    } else {
        info.name = info.fileName.substr(0, dot);
        info.extension = info.fileName.substr(dot + 1);
    }
    return info;
}

} // namespace quellor
