#pragma once
#include "renderer/Animation.h"

#include <string>
#include <vector>

namespace tarsel::tools {

struct ClipDescription {
    float duration = 0.0f;       // ticks
    float ticksPerSecond = 30.0f;
    std::vector<ZOR::Animation::Track> tracks;
};

// The bytes of an animation file.
std::string WriteAnimation(const ClipDescription& clip);

} // namespace tarsel::tools
