#include "gameplay/AnimationBlendSpace.h"

#include <cmath>
#include <limits>

namespace quellor {

bool IsMoveInput(float x, float y)
{
    const float epsilon = std::numeric_limits<float>::epsilon();
    return std::abs(x) > epsilon || std::abs(y) > epsilon;
}

BlendSpaceWeights ComputeBlendSpace(const BlendSpaceInput& input)
{
    BlendSpaceWeights result;
    const ClipSet set = !input.onGround ? ClipSet::InAir : input.moving ? ClipSet::Run : ClipSet::Idle;

    const float c = input.lastMoveX * input.aimX + input.lastMoveY * input.aimY;
    const float s = input.lastMoveY * input.aimX - input.lastMoveX * input.aimY;
    const float n = std::sqrt(c * c + s * s);
    // Without a movement or an aim on record (a computer player that has not moved yet) the
    // angle is undefined. Taken as a move straight along the negated aim it gives the base
    // clips, rather than no weight at all, which would show the model's bind pose (arms out).
    const bool defined = n > 0.0f && std::isfinite(n);
    const float cn = defined ? c / n : -1.0f;
    const float sn = defined ? s / n : 0.0f;

    ClipDirection first;
    ClipDirection second;
    float w;
    if (!defined || (s >= 0.0f && c <= 0.0f)) {
        first = ClipDirection::Right;
        second = ClipDirection::Base;
        w = 1.0f + cn;
    } else if (s <= 0.0f && c <= 0.0f) {
        first = ClipDirection::Left;
        second = ClipDirection::Base;
        w = 1.0f + cn;
    } else if (s >= 0.0f) {
        first = ClipDirection::ExtremeRight;
        second = ClipDirection::Right;
        w = 1.0f - sn;
    } else {
        first = ClipDirection::ExtremeLeft;
        second = ClipDirection::Left;
        w = 1.0f + sn;
    }

    const float p = std::abs(input.aimPitch);
    const ClipPitch row = input.aimPitch > 0.0f ? ClipPitch::Up : ClipPitch::Down;
    const float b = input.blast;
    int k = 0;
    for (const bool blast : {false, true}) {
        const float shot = blast ? b : 1.0f - b;
        for (const auto& [direction, share] : {std::pair{first, w}, std::pair{second, 1.0f - w}}) {
            result.clips[k++] = {BlendSpaceClipIndex(set, direction, ClipPitch::Level, blast), shot * (1.0f - p) * share};
            result.clips[k++] = {BlendSpaceClipIndex(set, direction, row, blast), shot * p * share};
        }
    }
    result.count = k;
    return result;
}

} // namespace quellor
