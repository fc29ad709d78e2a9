#pragma once
#include "tools/writers/AnimationWriter.h"
#include "tools/writers/ModelWriter.h"

#include <string>

namespace tarsel::tools {

// The player character: a skinned block figure about 16 units tall with its feet at y = 0,
// one box per bone weighted fully to it. Node i drives bone i, parents come before children and
// every bind transform is a pure translation, so each bone matrix is the identity in the bind
// pose.
namespace character {

constexpr unsigned kBoneCount = 30;
constexpr unsigned kHeadBone = 5;  // where hats and masks are mounted
constexpr unsigned kHandBone = 29; // the hand at the end of the arm along -x
// Where beams and shots leave the hand, in bind-pose model space.
inline const ZOR::float3 kHandPoint{-6.5f, 13.2f, -0.2f};

// The model of "base_idle.model".
ModelDescription BuildModel();

enum class Motion { Idle, Run, InAir };

// A clip of the character at 30 ticks per second, one track per bone in bone order. Idle loops
// over 2 s, Run cycles over 0.8 s and InAir holds one pose. variant (0 for the plain clips) and
// strength scale the motion so that a whole library of distinct clips can be made alike.
ClipDescription BuildClip(Motion motion, unsigned variant = 0, float strength = 1.0f);

} // namespace character

} // namespace tarsel::tools
