#include "tools/writers/CharacterBuilder.h"

#include "tools/writers/MeshBuilder.h"

#include <array>
#include <cmath>
#include <numbers>

namespace tarsel::tools::character {

using ZOR::float3;
using ZOR::float4;
using ZOR::float4x4;

namespace {

struct BoneShape {
    const char* name;
    int parent;
    float3 joint;      // bind-pose joint position, model space
    float3 boxCenter;  // model space
    float3 boxHalf;
};

// The arm along -x ends in bone 29, so that the hand's box sits on the hand point.
const BoneShape kBones[kBoneCount] = {
    {"pelvis", -1, {0.0f, 8.0f, 0.0f}, {0.0f, 8.6f, 0.0f}, {1.5f, 0.8f, 0.9f}},
    {"spine", 0, {0.0f, 9.4f, 0.0f}, {0.0f, 10.1f, 0.0f}, {1.4f, 0.7f, 0.85f}},
    {"chest", 1, {0.0f, 10.8f, 0.0f}, {0.0f, 11.9f, 0.0f}, {1.8f, 1.1f, 1.0f}},
    {"neck_base", 2, {0.0f, 13.0f, 0.0f}, {0.0f, 13.25f, 0.0f}, {1.1f, 0.25f, 0.7f}},
    {"neck", 3, {0.0f, 13.5f, 0.0f}, {0.0f, 13.85f, 0.0f}, {0.45f, 0.35f, 0.45f}},
    {"head", 4, {0.0f, 14.2f, 0.0f}, {0.0f, 15.1f, 0.0f}, {1.0f, 0.9f, 1.0f}},
    {"clavicle_l", 3, {1.0f, 13.2f, -0.2f}, {1.6f, 13.2f, -0.2f}, {0.6f, 0.35f, 0.35f}},
    {"upperarm_l", 6, {2.2f, 13.2f, -0.2f}, {3.1f, 13.2f, -0.2f}, {0.9f, 0.4f, 0.4f}},
    {"forearm_l", 7, {4.0f, 13.2f, -0.2f}, {4.9f, 13.2f, -0.2f}, {0.9f, 0.35f, 0.35f}},
    {"hand_l", 8, {5.8f, 13.2f, -0.2f}, {6.5f, 13.2f, -0.2f}, {0.7f, 0.45f, 0.45f}},
    {"clavicle_r", 3, {-1.0f, 13.2f, -0.2f}, {-1.6f, 13.2f, -0.2f}, {0.6f, 0.35f, 0.35f}},
    {"upperarm_r", 10, {-2.2f, 13.2f, -0.2f}, {-3.1f, 13.2f, -0.2f}, {0.9f, 0.4f, 0.4f}},
    {"forearm_r", 11, {-4.0f, 13.2f, -0.2f}, {-4.9f, 13.2f, -0.2f}, {0.9f, 0.35f, 0.35f}},
    {"thigh_l", 0, {0.8f, 7.8f, 0.0f}, {0.8f, 6.0f, 0.0f}, {0.55f, 1.8f, 0.55f}},
    {"calf_l", 13, {0.8f, 4.2f, 0.0f}, {0.8f, 2.5f, 0.0f}, {0.5f, 1.7f, 0.5f}},
    {"foot_l", 14, {0.8f, 0.8f, 0.0f}, {0.8f, 0.4f, 0.3f}, {0.5f, 0.4f, 0.8f}},
    {"toe_l", 15, {0.8f, 0.4f, 1.1f}, {0.8f, 0.25f, 1.4f}, {0.45f, 0.25f, 0.3f}},
    {"thigh_r", 0, {-0.8f, 7.8f, 0.0f}, {-0.8f, 6.0f, 0.0f}, {0.55f, 1.8f, 0.55f}},
    {"calf_r", 17, {-0.8f, 4.2f, 0.0f}, {-0.8f, 2.5f, 0.0f}, {0.5f, 1.7f, 0.5f}},
    {"foot_r", 18, {-0.8f, 0.8f, 0.0f}, {-0.8f, 0.4f, 0.3f}, {0.5f, 0.4f, 0.8f}},
    {"toe_r", 19, {-0.8f, 0.4f, 1.1f}, {-0.8f, 0.25f, 1.4f}, {0.45f, 0.25f, 0.3f}},
    {"thumb_l", 9, {6.0f, 13.2f, 0.3f}, {6.3f, 13.2f, 0.55f}, {0.25f, 0.2f, 0.25f}},
    {"fingers_l", 9, {7.2f, 13.2f, -0.2f}, {7.6f, 13.2f, -0.2f}, {0.4f, 0.35f, 0.4f}},
    {"jaw", 5, {0.0f, 14.6f, 0.3f}, {0.0f, 14.5f, 0.6f}, {0.7f, 0.3f, 0.5f}},
    {"nose", 5, {0.0f, 15.0f, 1.0f}, {0.0f, 15.0f, 1.15f}, {0.15f, 0.2f, 0.15f}},
    {"eye_l", 5, {0.4f, 15.3f, 0.95f}, {0.4f, 15.3f, 1.02f}, {0.15f, 0.15f, 0.08f}},
    {"eye_r", 5, {-0.4f, 15.3f, 0.95f}, {-0.4f, 15.3f, 1.02f}, {0.15f, 0.15f, 0.08f}},
    {"backpack", 2, {0.0f, 11.8f, -1.0f}, {0.0f, 11.8f, -1.5f}, {1.2f, 1.0f, 0.5f}},
    {"belt", 0, {0.0f, 8.2f, 0.0f}, {0.0f, 8.2f, 0.0f}, {1.6f, 0.25f, 1.0f}},
    {"hand_r", 12, {-5.8f, 13.2f, -0.2f}, {-6.5f, 13.2f, -0.2f}, {0.7f, 0.45f, 0.45f}},
};

float4x4 Translation(const float3& t)
{
    return float4x4(1.0f, 0.0f, 0.0f, t.x, 0.0f, 1.0f, 0.0f, t.y, 0.0f, 0.0f, 1.0f, t.z, 0.0f, 0.0f, 0.0f, 1.0f);
}

// The head and the shooting hand hang from no bone in the rig: each clip places them in model
// space where the body chain (the parents above) carries them. The renderer's bone transform
// multiplies a bone's matrix by its parents' ones; with no parents it is the bone's own matrix, so
// hats, masks and shots find the head and the hand where they are drawn.
bool PlacedInModelSpace(unsigned bone) { return bone == kHeadBone || bone == kHandBone; }

int RigParent(unsigned bone) { return PlacedInModelSpace(bone) ? -1 : kBones[bone].parent; }

// The joint relative to a parent's joint (or in model space without one).
float3 JointFrom(unsigned bone, int parent)
{
    return parent < 0 ? kBones[bone].joint : kBones[bone].joint - kBones[parent].joint;
}

// In the rig, and along the body chain.
float3 BindLocalTranslation(unsigned bone) { return JointFrom(bone, RigParent(bone)); }
float3 BodyLocalTranslation(unsigned bone) { return JointFrom(bone, kBones[bone].parent); }

float4 AxisAngle(const float3& axis, float angle)
{
    const float s = std::sin(angle * 0.5f);
    return float4(axis.x * s, axis.y * s, axis.z * s, std::cos(angle * 0.5f));
}

// Hamilton product: the rotation of b followed by that of a.
float4 Multiply(const float4& a, const float4& b)
{
    return float4(a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
                  a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z);
}

float4 Conjugate(const float4& q) { return float4(-q.x, -q.y, -q.z, q.w); }

float3 Rotate(const float4& q, const float3& v)
{
    const float4 r = Multiply(Multiply(q, float4(v.x, v.y, v.z, 0.0f)), Conjugate(q));
    return float3(r.x, r.y, r.z);
}

// The shortest turn that takes unit vector from onto unit vector to.
float4 Turn(const float3& from, const float3& to)
{
    const float3 axis = from.Cross(to);
    const float length = axis.Length();
    const float angle = std::atan2(length, from.Dot(to));
    if (length < 1e-6f)
        return angle < 1.0f ? float4(0.0f, 0.0f, 0.0f, 1.0f) : AxisAngle(float3(0.0f, 1.0f, 0.0f), angle);
    return AxisAngle(axis / length, angle);
}

struct BonePose {
    float3 translation; // added to the bind local translation
    float4 rotation{0.0f, 0.0f, 0.0f, 1.0f};
    bool moves = false;
};

const float3 kX(1.0f, 0.0f, 0.0f), kY(0.0f, 1.0f, 0.0f), kZ(0.0f, 0.0f, 1.0f);

// The pose of every bone at phase p (0..1 over the cycle).
using Poses = std::array<BonePose, kBoneCount>;

// The rotation of a bone in model space: its own and its ancestors'.
float4 ModelRotation(const Poses& pose, unsigned bone)
{
    float4 rotation = pose[bone].rotation;
    for (int parent = kBones[bone].parent; parent >= 0; parent = kBones[parent].parent)
        rotation = Multiply(pose[static_cast<unsigned>(parent)].rotation, rotation);
    return rotation;
}

// How far below the shoulders the arms hang (radians from horizontal) and how far the elbows
// bend forward, before the motion's swing.
constexpr float kHang = 1.32f;
constexpr float kInAirHang = 1.05f;
constexpr float kElbow = 0.3f;
constexpr float kRunElbow = 1.1f;

void Pose(Motion motion, unsigned variant, float strength, float p, const std::optional<ShotAim>& shot, Poses& pose)
{
    const float twoPi = 2.0f * std::numbers::pi_v<float>;
    const float wave = std::sin(twoPi * p);
    const float bob = 0.5f - 0.5f * std::cos(twoPi * p);
    // Variants lean the upper body a little to each side and tilt the head, so that clips of a
    // library differ while staying plausible.
    const float lean = 0.04f * static_cast<float>(variant % 5) - 0.08f;
    const float tilt = 0.03f * static_cast<float>(variant % 3) - 0.03f;
    const auto rotate = [&](unsigned bone, const float4& q) {
        pose[bone].rotation = Multiply(pose[bone].rotation, q);
        pose[bone].moves = true;
    };
    const auto move = [&](unsigned bone, const float3& t) {
        pose[bone].translation += t;
        pose[bone].moves = true;
    };
    // An arm lowered by hang from straight out, then swung forward (+z) by swing, its elbow
    // bent forward by elbow. side is +1 for the arm along +x, -1 for the one along -x.
    const auto arm = [&](float side, float hang, float swing, float elbow) {
        const unsigned upper = kUpperArmBones[side > 0.0f ? 0 : 1];
        rotate(upper, Multiply(AxisAngle(kX, -swing), AxisAngle(kZ, -side * hang)));
        rotate(upper + 1, AxisAngle(kY, -side * elbow));
    };

    if (variant != 0) {
        rotate(1, AxisAngle(kZ, lean));
        rotate(5, AxisAngle(kX, tilt));
    }
    switch (motion) {
    case Motion::Idle: {
        const float sway = 0.05f * strength * wave;
        move(0, float3(0.0f, -0.08f * strength * bob, 0.0f));
        rotate(2, AxisAngle(kX, 0.04f * strength * wave));
        rotate(5, AxisAngle(kY, 0.06f * strength * wave));
        arm(1.0f, kHang - 0.04f * strength * bob, sway, kElbow);
        arm(-1.0f, kHang - 0.04f * strength * bob, -sway, kElbow);
        break;
    }
    case Motion::Run: {
        const float swing = 0.6f * strength * wave;
        move(0, float3(0.0f, -0.3f * strength * std::abs(std::sin(twoPi * p)), 0.0f));
        rotate(1, AxisAngle(kX, 0.15f * strength));
        rotate(13, AxisAngle(kX, -swing));
        rotate(17, AxisAngle(kX, swing));
        rotate(14, AxisAngle(kX, 0.4f * strength * (1.0f + wave)));
        rotate(18, AxisAngle(kX, 0.4f * strength * (1.0f - wave)));
        // Each arm swings against the leg on its side.
        arm(1.0f, kHang, -0.5f * swing, kRunElbow);
        arm(-1.0f, kHang, 0.5f * swing, kRunElbow);
        break;
    }
    case Motion::InAir:
        rotate(13, AxisAngle(kX, -0.7f * strength));
        rotate(17, AxisAngle(kX, -0.5f * strength));
        rotate(14, AxisAngle(kX, 0.9f * strength));
        rotate(18, AxisAngle(kX, 0.7f * strength));
        arm(1.0f, kInAirHang, 0.25f * strength, 0.5f);
        arm(-1.0f, kInAirHang, 0.15f * strength, 0.5f);
        break;
    }

    if (shot) {
        // The shooting arm straight along the aim in model space, whatever the body does.
        pose[kShootingUpperArm].rotation = float4(0.0f, 0.0f, 0.0f, 1.0f);
        pose[kShootingUpperArm + 1].rotation = float4(0.0f, 0.0f, 0.0f, 1.0f);
        const float4 parent = ModelRotation(pose, static_cast<unsigned>(kBones[kShootingUpperArm].parent));
        pose[kShootingUpperArm].rotation = Multiply(Conjugate(parent), Turn(-kX, ShotArmDirection(*shot)));
        pose[kShootingUpperArm].moves = true;
    }
}

// Turns the pose of the bones placed in model space from body-chain terms (a turn and an offset
// from the parent) into where the chain puts them.
void PlaceInModelSpace(Poses& pose)
{
    std::array<float4, kBoneCount> turn;
    std::array<float3, kBoneCount> at;
    std::array<bool, kBoneCount> moves;
    for (unsigned bone = 0; bone < kBoneCount; ++bone) {
        const int parent = kBones[bone].parent;
        const float3 local = BodyLocalTranslation(bone) + pose[bone].translation;
        if (parent < 0) {
            turn[bone] = pose[bone].rotation;
            at[bone] = local;
            moves[bone] = pose[bone].moves;
        } else {
            const auto p = static_cast<unsigned>(parent);
            turn[bone] = Multiply(turn[p], pose[bone].rotation);
            at[bone] = at[p] + Rotate(turn[p], local);
            moves[bone] = moves[p] || pose[bone].moves;
        }
    }
    for (unsigned bone = 0; bone < kBoneCount; ++bone)
        if (PlacedInModelSpace(bone))
            pose[bone] = BonePose{at[bone] - kBones[bone].joint, turn[bone], moves[bone]};
}

} // namespace

float3 BindJoint(unsigned bone)
{
    return bone < kBoneCount ? kBones[bone].joint : float3(0.0f, 0.0f, 0.0f);
}

ModelDescription BuildModel()
{
    ModelDescription model;
    model.skinned = true;
    for (unsigned i = 0; i < kBoneCount; ++i) {
        const BoneShape& shape = kBones[i];
        const int parent = RigParent(i);
        model.nodes.push_back(MakeNode(parent, Translation(BindLocalTranslation(i))));
        ZOR::Skeleton::Bone bone;
        bone.node = i;
        bone.parent = parent < 0 ? kBoneCount : static_cast<std::uint32_t>(parent);
        bone.offset = Translation(-shape.joint);
        model.bones.push_back(bone);
        model.names.push_back(shape.name);
        AddBox(model.vertices, shape.boxCenter, shape.boxHalf, i);
    }
    return model;
}

float3 ShotArmDirection(const ShotAim& aim)
{
    using quellor::ClipDirection;
    // Ahead is +z, where the body faces. The shooting arm is on the right (-x): to the right it
    // reaches straight out, to the left it crosses the chest only part of the way, and behind it
    // points back past the shoulder.
    float3 level(0.0f, 0.0f, 1.0f);
    switch (aim.direction) {
    case ClipDirection::Base: break;
    case ClipDirection::Right: level = float3(-1.0f, 0.0f, 0.0f); break;
    case ClipDirection::Left: level = float3(0.55f, 0.0f, 0.835f).Normalized(); break;
    case ClipDirection::ExtremeLeft:
    case ClipDirection::ExtremeRight: level = float3(0.0f, 0.0f, -1.0f); break;
    }
    constexpr float kPitch = 0.6f;
    const float up = aim.pitch == quellor::ClipPitch::Up ? kPitch : aim.pitch == quellor::ClipPitch::Down ? -kPitch : 0.0f;
    return level * std::cos(up) + kY * std::sin(up);
}

ClipDescription BuildClip(Motion motion, unsigned variant, float strength, std::optional<ShotAim> shot)
{
    ClipDescription clip;
    clip.ticksPerSecond = 30.0f;
    unsigned keyCount;
    switch (motion) {
    case Motion::Idle:
        clip.duration = 60.0f; // 2 s
        keyCount = 9;
        break;
    case Motion::Run:
        clip.duration = 24.0f; // 0.8 s
        keyCount = 9;
        break;
    case Motion::InAir:
    default:
        clip.duration = 30.0f; // a held pose
        keyCount = 1;
        break;
    }

    std::vector<Poses> poses(keyCount);
    for (unsigned k = 0; k < keyCount; ++k) {
        // The last key of a cycle repeats the first exactly, so the loop has no seam.
        const float phase = (keyCount == 1 || k == keyCount - 1) ? 0.0f
                                                                 : static_cast<float>(k) / static_cast<float>(keyCount - 1);
        Pose(motion, variant, strength, phase, shot, poses[k]);
        PlaceInModelSpace(poses[k]);
    }
    for (unsigned bone = 0; bone < kBoneCount; ++bone) {
        ZOR::Animation::Track track;
        track.id = bone;
        bool moves = false;
        for (unsigned k = 0; k < keyCount; ++k)
            moves = moves || poses[k][bone].moves;
        // A bone that keeps its bind pose gets one key of each kind.
        const unsigned keys = moves ? keyCount : 1;
        for (unsigned k = 0; k < keys; ++k) {
            const float time = keys == 1 ? 0.0f : clip.duration * static_cast<float>(k) / static_cast<float>(keys - 1);
            const BonePose& pose = poses[k][bone];
            track.positionKeys.push_back({time, BindLocalTranslation(bone) + pose.translation});
            track.rotationKeys.push_back({time, pose.rotation});
        }
        clip.tracks.push_back(std::move(track));
    }
    return clip;
}

} // namespace tarsel::tools::character
