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

float3 BindLocalTranslation(unsigned bone)
{
    const BoneShape& shape = kBones[bone];
    return shape.parent < 0 ? shape.joint : shape.joint - kBones[shape.parent].joint;
}

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

struct BonePose {
    float3 translation; // added to the bind local translation
    float4 rotation{0.0f, 0.0f, 0.0f, 1.0f};
    bool moves = false;
};

const float3 kX(1.0f, 0.0f, 0.0f), kY(0.0f, 1.0f, 0.0f), kZ(0.0f, 0.0f, 1.0f);

// The pose of every bone at phase p (0..1 over the cycle).
using Poses = std::array<BonePose, kBoneCount>;

void Pose(Motion motion, unsigned variant, float strength, float p, Poses& pose)
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

    if (variant != 0) {
        rotate(1, AxisAngle(kZ, lean));
        rotate(5, AxisAngle(kX, tilt));
    }
    switch (motion) {
    case Motion::Idle:
        move(0, float3(0.0f, -0.08f * strength * bob, 0.0f));
        rotate(2, AxisAngle(kX, 0.04f * strength * wave));
        rotate(5, AxisAngle(kY, 0.06f * strength * wave));
        rotate(7, AxisAngle(kZ, -0.05f * strength * bob));
        rotate(11, AxisAngle(kZ, 0.05f * strength * bob));
        break;
    case Motion::Run: {
        const float swing = 0.6f * strength * wave;
        move(0, float3(0.0f, -0.3f * strength * std::abs(std::sin(twoPi * p)), 0.0f));
        rotate(1, AxisAngle(kX, 0.15f * strength));
        rotate(13, AxisAngle(kX, -swing));
        rotate(17, AxisAngle(kX, swing));
        rotate(14, AxisAngle(kX, 0.4f * strength * (1.0f + wave)));
        rotate(18, AxisAngle(kX, 0.4f * strength * (1.0f - wave)));
        rotate(7, AxisAngle(kY, 0.4f * strength * wave));
        rotate(11, AxisAngle(kY, 0.4f * strength * wave));
        break;
    }
    case Motion::InAir:
        rotate(13, AxisAngle(kX, -0.7f * strength));
        rotate(17, AxisAngle(kX, -0.5f * strength));
        rotate(14, AxisAngle(kX, 0.9f * strength));
        rotate(18, AxisAngle(kX, 0.7f * strength));
        rotate(7, AxisAngle(kZ, 0.3f * strength));
        rotate(11, AxisAngle(kZ, -0.3f * strength));
        break;
    }
}

} // namespace

ModelDescription BuildModel()
{
    ModelDescription model;
    model.skinned = true;
    for (unsigned i = 0; i < kBoneCount; ++i) {
        const BoneShape& shape = kBones[i];
        model.nodes.push_back(MakeNode(shape.parent, Translation(BindLocalTranslation(i))));
        ZOR::Skeleton::Bone bone;
        bone.node = i;
        bone.parent = shape.parent < 0 ? kBoneCount : static_cast<std::uint32_t>(shape.parent);
        bone.offset = Translation(-shape.joint);
        model.bones.push_back(bone);
        model.names.push_back(shape.name);
        AddBox(model.vertices, shape.boxCenter, shape.boxHalf, i);
    }
    return model;
}

ClipDescription BuildClip(Motion motion, unsigned variant, float strength)
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
        Pose(motion, variant, strength, phase, poses[k]);
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
