#pragma once
#include "gameplay/AnimationClipNames.h"
#include "tools/writers/AnimationWriter.h"
#include "tools/writers/ModelWriter.h"

#include <optional>
#include <string>

namespace tarsel::tools {

// The player character: a skinned block figure about 16 units tall with its feet at y = 0,
// one box per bone weighted fully to it. Node i drives bone i, parents come before children and
// every bind transform is a pure translation, so each bone matrix is the identity in the bind
// pose: arms straight out along x. The clips bring the arms down. The head and the hand along
// -x hang from no bone in the rig: each clip places them in model space where the body carries
// them, so that a bone transform made by multiplying up the parent chain is their own matrix.
//
// The figure faces +z (face and toes), as every body of the game does: the character select
// turns that side to its camera and in play the body turns it along its motion, so "ahead" for
// an aim is +z. The arm along -x, on the figure's right, is the shooting arm.
namespace character {

constexpr unsigned kBoneCount = 30;
constexpr unsigned kHeadBone = 5;  // where hats and masks are mounted
constexpr unsigned kUpperArmBones[2] = {7, 11}; // along +x and along -x in the bind pose
constexpr unsigned kShootingUpperArm = kUpperArmBones[1];
constexpr unsigned kHandBone = 29; // the hand at the end of the arm along -x
// Where beams and shots leave the hand, in bind-pose model space.
inline const ZOR::float3 kHandPoint{-6.5f, 13.2f, -0.2f};

// The model of "base_idle.model".
ModelDescription BuildModel();

// Where a bone's joint stands in the bind pose, in model space; the origin past the last bone.
ZOR::float3 BindJoint(unsigned bone);

enum class Motion { Idle, Run, InAir };

// Where a shot clip points the shooting arm: the aim's place relative to the body as the blend
// space names it (ahead for base, to the left or right, behind for the extremes) and its pitch.
struct ShotAim {
    quellor::ClipDirection direction = quellor::ClipDirection::Base;
    quellor::ClipPitch pitch = quellor::ClipPitch::Level;
};

// The model-space direction a shot clip points the shooting arm along (unit length).
ZOR::float3 ShotArmDirection(const ShotAim& aim);

// A clip of the character at 30 ticks per second, one track per bone in bone order. Idle loops
// over 2 s, Run cycles over 0.8 s and InAir holds one pose; the arms hang (idle, run) or spread
// a little (in the air), always well below the shoulders. variant (0 for the plain clips) and
// strength scale the motion so that a whole library of distinct clips can be made alike. A shot
// clip holds the shooting arm straight along ShotArmDirection through the whole motion.
ClipDescription BuildClip(Motion motion, unsigned variant = 0, float strength = 1.0f,
                          std::optional<ShotAim> shot = std::nullopt);

} // namespace character

} // namespace tarsel::tools
