#pragma once
#include "renderer/Animation.h"
#include "renderer/Skeleton.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"
#include "renderer/math/float4x4.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace ZOR {

// Which tracks a playing clip may drive. Group 0 holds every track; no other group is used yet.
enum class BlendGroup : std::uint32_t { All = 0 };

// Plays clips on a skeleton: advances them, samples their keys, blends them additively over
// the bind pose, writes the skeleton's node transforms and derives one skinning matrix per bone.
// Neither the skeleton nor the clips are owned; the skeleton's node transforms are scratch space
// shared by every controller of the same model, so controllers are updated one at a time.
class AnimationController {
public:
    AnimationController() = default;

    // Adds a clip under its name; an earlier clip of that name stays. Null is refused.
    void AddAnimation(Animation* animation);
    void RemoveAnimation(const std::string& name);
    bool HasAnimation(const std::string& name) const;

    // Plays the clip alone, at factor 1 from time 0.
    void PlayAnimation(const std::string& name);
    // Adds the clip to (or restarts it in) the blend without touching the others.
    void PlayAnimation(const std::string& name, float blendFactor, BlendGroup group);
    // Stops every clip; the clips stay known.
    void Clear();
    // Clear, and return the matrices to their default values.
    void StopAnimation();

    void SetSkeleton(const Skeleton* skeleton);
    void SetAnimationSpeed(float speed) { m_speed = speed; }
    void SetLoop(bool loop) { m_looping = loop; }
    void SetPause(bool pause) { m_paused = pause; }
    bool IsLooping() const { return m_looping; }
    bool IsPaused() const { return m_paused; }

    // Change a clip's value only once the clip has been played.
    void SetBlendFactor(const std::string& name, float factor);
    void SetAnimTimeOffset(const std::string& name, float ticks);
    bool IsPlaying(const std::string& name) const { return m_playing.count(name) != 0; }
    // The clip's blend factor while it plays; 0 for a clip not playing.
    float GetBlendFactor(const std::string& name) const;
    void SetDuration(const std::string& name, float ticks);

    void Update(float seconds);

    const std::vector<float4x4>& GetMatrixList() const { return m_boneMatrices; }
    // The product of the bone's matrix with those of its parent bones; identity past the list.
    float4x4 GetBoneTransform(unsigned bone) const;

private:
    // One sampled track: the pose it asks for and the base-pose slot (its node) it blends into.
    struct Sample {
        float3 position;
        float4 rotation;
        std::uint32_t index;
        std::uint32_t group;
    };
    struct ClipSamples {
        float factor;
        std::vector<Sample> samples;
    };

    void SampleClip(const Animation& clip, float t, BlendGroup group, std::vector<Sample>& out);
    void ComputeBasePose(const Skeleton& skeleton);

    float m_speed = 1.0f;
    bool m_paused = false;
    bool m_looping = true;
    const Skeleton* m_skeleton = nullptr;
    // A clip in the blend with everything the name-keyed setters change, kept together so that
    // an update reaches them without a look-up by name.
    struct PlayingClip {
        Animation* clip = nullptr;
        float time = 0.0f;   // seconds
        float offset = 0.0f; // ticks
        float factor = 0.0f;
        BlendGroup group = BlendGroup::All;
    };

    std::unordered_map<std::string, Animation*> m_clips;
    std::unordered_map<std::string, PlayingClip> m_playing;
    std::unordered_map<std::uint32_t, BlendGroup> m_trackGroups;
    std::vector<float4x4> m_boneMatrices;
    // Clips already warned about for tracks that name no bone of the current skeleton.
    std::unordered_set<std::string> m_clipsWarnedOutsideSkeleton;

    // Scratch kept between updates so that a frame allocates nothing once warmed up; the base
    // pose (and its inverse rotations) is kept for the skeleton it was computed from.
    const Skeleton* m_basePoseOf = nullptr;
    std::vector<Sample> m_base;
    std::vector<Sample> m_result;
    std::vector<float3> m_accumulators;
    std::vector<float4x4> m_inverseBaseRotations;
    std::vector<ClipSamples> m_clipSamples;
};

} // namespace ZOR
