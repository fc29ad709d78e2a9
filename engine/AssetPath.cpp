#include "engine/AssetPath.h"

namespace quellor {

AssetPath::AssetPath(const std::string& path) : fullPath(path.substr(0, path.find('\0')))
{
    const std::size_t separator = fullPath.find_last_of("/\\");
    const std::size_t dot = fullPath.rfind('.');
    if (dot != std::string::npos)
        extension = fullPath.substr(dot);
    if (separator == std::string::npos) {
        fileName = fullPath;
        directory = fullPath;
    } else {
        fileName = fullPath.substr(separator + 1);
        directory = fullPath.substr(0, separator);
    }
}

} // namespace quellor
