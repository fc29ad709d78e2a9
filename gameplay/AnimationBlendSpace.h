#pragma once
// The character's blend space: from the clip set's inputs, the aim and the shot pose, the eight
// clips that carry weight this frame. Pure, so the mix can be checked without a skeleton.
#include "gameplay/AnimationClipNames.h"

#include <array>

namespace quellor {

struct BlendSpaceInput {
    bool onGround = true;
    bool moving = false;
    // The movement of the last frame that had movement, and the horizontal aim, in one plane.
    float lastMoveX = 0.0f;
    float lastMoveY = 0.0f;
    float aimX = 0.0f;
    float aimY = 0.0f;
    // Above 0 aims up, otherwise down; its magnitude weighs the pitched row (not clamped).
    float aimPitch = 0.0f;
    // The shot pose, 0 to 1: the share of the "_blast" clips.
    float blast = 0.0f;
};

struct BlendSpaceWeight {
    int clip = 0; // BlendSpaceClipIndex
    float weight = 0.0f;
};

struct BlendSpaceWeights {
    // Always 8 from ComputeBlendSpace.
    int count = 0;
    std::array<BlendSpaceWeight, 8> clips{};
};

// Movement counts when either axis exceeds single-precision epsilon.
bool IsMoveInput(float x, float y);

// The set is in-air off the ground, else run while moving, else idle. The direction pair and
// its weight come from the angle between the last movement and the aim (the base direction
// when either is missing or not finite); each of the pair
// splits between its level clip and its clip in the pitch row, and each of those between its
// plain and shot variant.
BlendSpaceWeights ComputeBlendSpace(const BlendSpaceInput& input);

} // namespace quellor
