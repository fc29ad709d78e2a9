#include "tools/writers/AnimationWriter.h"

#include "tools/writers/FileWriting.h"

#include <cstring>

namespace tarsel::tools {

std::string WriteAnimation(const ClipDescription& clip)
{
    std::string out;
    char magic[16] = {};
    std::memcpy(magic, "ZOR_ANIMATION", 14);
    out.append(magic, sizeof(magic));
    Append(out, static_cast<std::uint32_t>(clip.tracks.size()));
    Append(out, clip.duration);
    Append(out, clip.ticksPerSecond);
    for (const auto& track : clip.tracks) {
        Append(out, track.id);
        Append(out, static_cast<std::uint32_t>(track.positionKeys.size()));
        Append(out, static_cast<std::uint32_t>(track.rotationKeys.size()));
        for (const auto& key : track.positionKeys)
            Append(out, key);
        for (const auto& key : track.rotationKeys)
            Append(out, key);
    }
    return out;
}

} // namespace tarsel::tools
