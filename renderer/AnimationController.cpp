#include "renderer/AnimationController.h"

#include "renderer/dx11/RenderContext.h"

#include <cmath>

namespace ZOR {

namespace {

bool IsFinite(float value) { return std::isfinite(value); }

// Rotation matrix of a quaternion (x, y, z, w), normalised first when its squared length is a
// usable non-zero number.
float4x4 RotationMatrix(float4 q)
{
    const float lengthSquared = q.Dot(q);
    if (lengthSquared > 0.0f && IsFinite(lengthSquared))
        q *= 1.0f / std::sqrt(lengthSquared);
    const float xx = q.x * q.x, yy = q.y * q.y, zz = q.z * q.z;
    const float xy = q.x * q.y, xz = q.x * q.z, yz = q.y * q.z;
    const float wx = q.w * q.x, wy = q.w * q.y, wz = q.w * q.z;
    return float4x4(1.0f - 2.0f * (yy + zz), 2.0f * (xy - wz), 2.0f * (xz + wy), 0.0f,
                    2.0f * (xy + wz), 1.0f - 2.0f * (xx + zz), 2.0f * (yz - wx), 0.0f,
                    2.0f * (xz - wy), 2.0f * (yz + wx), 1.0f - 2.0f * (xx + yy), 0.0f,
                    0.0f, 0.0f, 0.0f, 1.0f);
}

// Quaternion of the rotation part of m (entry (r, c) is m.m[r * 4 + c]), trace based.
float4 QuaternionOf(const float4x4& matrix)
{
    const float* m = matrix.m;
    const float m00 = m[0], m01 = m[1], m02 = m[2];
    const float m10 = m[4], m11 = m[5], m12 = m[6];
    const float m20 = m[8], m21 = m[9], m22 = m[10];
    const float trace = m00 + m11 + m22;
    if (trace > 0.0f) {
        const float s = 0.5f / std::sqrt(trace + 1.0f);
        return float4((m21 - m12) * s, (m02 - m20) * s, (m10 - m01) * s, 0.25f / s);
    }
    if (m00 > m11 && m00 > m22) {
        const float s = 2.0f * std::sqrt(1.0f + m00 - m11 - m22);
        return float4(0.25f * s, (m01 + m10) / s, (m02 + m20) / s, (m21 - m12) / s);
    }
    if (m11 > m22) {
        const float s = 2.0f * std::sqrt(1.0f + m11 - m00 - m22);
        return float4((m01 + m10) / s, 0.25f * s, (m12 + m21) / s, (m02 - m20) / s);
    }
    const float s = 2.0f * std::sqrt(1.0f + m22 - m00 - m11);
    return float4((m02 + m20) / s, (m12 + m21) / s, 0.25f * s, (m10 - m01) / s);
}

float4 Slerp(const float4& a, const float4& b, float f)
{
    float d = a.Dot(b);
    float sign = 1.0f;
    if (d < 0.0f) {
        d = -d;
        sign = -1.0f;
    }
    float wa, wb;
    if (1.0f - d > 0.00001f) {
        const float w = std::acos(d);
        const float sinW = std::sin(w);
        wa = std::sin((1.0f - f) * w) / sinW;
        wb = std::sin(f * w) / sinW;
    } else {
        wa = 1.0f - f;
        wb = f;
    }
    return a * wa + b * (wb * sign);
}

// Index i of the key pair (i, i + 1) around t, by bisection; needs at least two keys.
template <typename Key>
std::size_t FindKey(const std::vector<Key>& keys, float t)
{
    std::size_t lo = 0;
    std::size_t hi = keys.size() - 1;
    while (lo + 1 < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (keys[mid].time > t)
            hi = mid;
        else
            lo = mid;
    }
    return lo;
}

// Blend weight of the later key: negative before the first key (extrapolation), 1 from the
// later key on, and 0 for two keys at the same time (nothing to divide by).
float KeyFactor(float time0, float time1, float t)
{
    if (!(t < time1))
        t = time1;
    const float span = time1 - time0;
    if (span == 0.0f)
        return 0.0f;
    return (t - time0) / span;
}

float4x4 Translation(const float3& p)
{
    return float4x4(1.0f, 0.0f, 0.0f, p.x, 0.0f, 1.0f, 0.0f, p.y, 0.0f, 0.0f, 1.0f, p.z, 0.0f, 0.0f, 0.0f, 1.0f);
}

} // namespace

void AnimationController::AddAnimation(Animation* animation)
{
    if (!animation) {
        Log("Warning: AnimationController::AddAnimation was given no animation; ignored");
        return;
    }
    m_clips.emplace(animation->GetName(), animation);
}

void AnimationController::RemoveAnimation(const std::string& name)
{
    m_clips.erase(name);
    m_playing.erase(name);
}

bool AnimationController::HasAnimation(const std::string& name) const
{
    return m_clips.find(name) != m_clips.end();
}

void AnimationController::PlayAnimation(const std::string& name)
{
    if (m_clips.find(name) == m_clips.end())
        return;
    Clear();
    PlayAnimation(name, 1.0f, BlendGroup::All);
}

void AnimationController::PlayAnimation(const std::string& name, float blendFactor, BlendGroup group)
{
    const auto clip = m_clips.find(name);
    if (clip == m_clips.end())
        return;
    PlayingClip& playing = m_playing[name];
    playing.clip = clip->second;
    playing.group = group;
    playing.time = 0.0f;
    playing.factor = blendFactor;
    playing.offset = 0.0f;
}

void AnimationController::Clear()
{
    m_playing.clear();
}

void AnimationController::StopAnimation()
{
    Clear();
    const Skeleton* skeleton = m_skeleton;
    SetSkeleton(nullptr);
    SetSkeleton(skeleton);
}

void AnimationController::SetSkeleton(const Skeleton* skeleton)
{
    m_skeleton = skeleton;
    m_basePoseOf = nullptr;
    if (!skeleton) {
        m_boneMatrices.clear();
        return;
    }
    m_boneMatrices.resize(skeleton->GetBones().size());
    m_trackGroups.clear();
    m_clipsWarnedOutsideSkeleton.clear();
}

void AnimationController::SetBlendFactor(const std::string& name, float factor)
{
    const auto it = m_playing.find(name);
    if (it != m_playing.end())
        it->second.factor = factor;
}

float AnimationController::GetBlendFactor(const std::string& name) const
{
    const auto it = m_playing.find(name);
    return it == m_playing.end() ? 0.0f : it->second.factor;
}

void AnimationController::SetAnimTimeOffset(const std::string& name, float ticks)
{
    const auto it = m_playing.find(name);
    if (it != m_playing.end())
        it->second.offset = ticks;
}

void AnimationController::SetDuration(const std::string& name, float ticks)
{
    const auto it = m_clips.find(name);
    if (it != m_clips.end())
        it->second->SetDuration(ticks);
}

void AnimationController::ComputeBasePose(const Skeleton& skeleton)
{
    const auto& nodes = skeleton.GetNodes();
    const auto& bones = skeleton.GetBones();
    const std::size_t boneCount = bones.size();
    m_base.resize(boneCount);
    m_inverseBaseRotations.resize(boneCount);
    for (std::size_t i = 0; i < boneCount; ++i) {
        const std::uint32_t node = bones[i].node;
        // The node's parent stands for a bone here (node i drives bone i); a parent that names
        // no bone is taken as a root.
        const std::int64_t parent = node < nodes.size() ? nodes[node].parent : -1;
        const float4x4 inverseOffset = bones[i].offset.Inverse();
        const float4x4 base = (parent < 0 || static_cast<std::uint64_t>(parent) >= boneCount)
                                  ? inverseOffset
                                  : bones[static_cast<std::size_t>(parent)].offset * inverseOffset;
        Sample& sample = m_base[i];
        sample.position = float3(base.m[3], base.m[7], base.m[11]);
        sample.rotation = QuaternionOf(base);
        sample.index = static_cast<std::uint32_t>(i);
        sample.group = 0;
        m_inverseBaseRotations[i] = RotationMatrix(sample.rotation).Transpose();
    }
}

void AnimationController::SampleClip(const Animation& clip, float t, BlendGroup group, std::vector<Sample>& out)
{
    out.clear();
    for (const Animation::Track& track : clip.GetTracks()) {
        const auto& positions = track.positionKeys;
        const auto& rotations = track.rotationKeys;
        if (positions.empty() && rotations.empty())
            continue;
        if (group != BlendGroup::All && m_trackGroups[track.id] != group)
            continue;
        // A track blends into the slot of the node its id names (bones are numbered like their
        // nodes); a node the skeleton has no bone for has no slot to blend into.
        if (track.id >= m_base.size()) {
            if (m_clipsWarnedOutsideSkeleton.insert(clip.GetName()).second)
                Log("Warning: animation \"%s\" has a track for node %u, which the skeleton has no bone for; "
                    "such tracks are ignored",
                    clip.GetName().c_str(), track.id);
            continue;
        }

        // A track with keys of one kind keeps the base value for the other, so that part adds
        // nothing to the blend.
        Sample sample;
        sample.position = m_base[track.id].position;
        sample.rotation = m_base[track.id].rotation;

        if (positions.size() == 1) {
            sample.position = positions[0].position;
        } else if (positions.size() > 1) {
            const std::size_t i = FindKey(positions, t);
            if (i == positions.size() - 1) {
                sample.position = positions[i].position;
            } else {
                const float f = KeyFactor(positions[i].time, positions[i + 1].time, t);
                sample.position = positions[i + 1].position * f + positions[i].position * (1.0f - f);
            }
        }

        if (rotations.size() == 1) {
            sample.rotation = rotations[0].rotation;
        } else if (rotations.size() > 1) {
            const std::size_t i = FindKey(rotations, t);
            if (i == rotations.size() - 1) {
                sample.rotation = rotations[i].rotation;
            } else {
                const float f = KeyFactor(rotations[i].time, rotations[i + 1].time, t);
                sample.rotation = Slerp(rotations[i].rotation, rotations[i + 1].rotation, f);
            }
        }

        sample.index = track.id;
        sample.group = static_cast<std::uint32_t>(group);
        out.push_back(sample);
    }
}

void AnimationController::Update(float seconds)
{
    if (m_playing.empty() || !m_skeleton || m_paused)
        return;
    for (auto& entry : m_playing)
        entry.second.time += m_speed * seconds;

    // The node transforms are scratch space of the shared skeleton (see the class comment).
    Skeleton& skeleton = const_cast<Skeleton&>(*m_skeleton);
    auto& nodes = skeleton.GetNodes();
    const auto& bones = skeleton.GetBones();
    const std::size_t boneCount = bones.size();

    for (auto& node : nodes)
        node.local = node.bindLocal;
    // The base pose follows from the bones alone, which do not change once a model is loaded.
    if (m_basePoseOf != m_skeleton || m_base.size() != boneCount) {
        ComputeBasePose(skeleton);
        m_basePoseOf = m_skeleton;
    }

    std::size_t used = 0;
    for (auto& entry : m_playing) {
        PlayingClip& playing = entry.second;
        const Animation* clip = playing.clip;
        const float ticks = playing.time * clip->GetTicksPerSecond();
        const float duration = clip->GetDuration();
        const float offset = playing.offset;

        float t;
        if (!(duration > 0.0f)) {
            // fmod by a zero, negative or undefined duration has no meaning: hold the start.
            t = 0.0f;
        } else if (offset + ticks > duration + offset) {
            if (!m_looping) {
                t = duration;
            } else {
                playing.time = 0.0f;
                t = static_cast<float>(std::fmod(static_cast<double>(offset + ticks), static_cast<double>(duration)));
            }
        } else {
            t = std::fmod(offset + ticks, duration);
        }

        if (!(playing.factor > 0.0f))
            continue;
        if (used == m_clipSamples.size())
            m_clipSamples.emplace_back();
        ClipSamples& samples = m_clipSamples[used++];
        samples.factor = playing.factor;
        SampleClip(*clip, t, playing.group, samples.samples);
    }

    // Blend: positions add their offsets from the base pose; rotations add their rotation
    // vectors (axis times angle) away from the base rotation.
    m_result.assign(m_base.begin(), m_base.end());
    m_accumulators.assign(boneCount, float3());
    for (std::size_t c = 0; c < used; ++c) {
        const ClipSamples& clipSamples = m_clipSamples[c];
        const float f = clipSamples.factor;
        for (const Sample& sample : clipSamples.samples) {
            const std::size_t j = sample.index;
            m_result[j].position += (sample.position - m_base[j].position) * f;
            const float4 delta = QuaternionOf(RotationMatrix(sample.rotation) * m_inverseBaseRotations[j]);
            float3 axis(delta.x, delta.y, delta.z);
            axis.Normalize();
            const float angle = 2.0f * std::acos(delta.w);
            if (IsFinite(axis.x) && IsFinite(axis.y) && IsFinite(axis.z) && IsFinite(angle))
                m_accumulators[j] += axis * (angle * f);
        }
    }

    for (std::size_t j = 0; j < boneCount; ++j) {
        const float3& v = m_accumulators[j];
        const float length = v.Length();
        const float3 axis = v.Normalized() * std::sin(length * 0.5f);
        const float4 q(axis.x, axis.y, axis.z, std::cos(length * 0.5f));
        m_result[j].rotation = QuaternionOf(RotationMatrix(q) * RotationMatrix(m_result[j].rotation));
    }

    for (const Sample& sample : m_result)
        if (sample.index < nodes.size())
            nodes[sample.index].local = Translation(sample.position) * RotationMatrix(sample.rotation);

    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const std::int32_t parent = nodes[i].parent;
        if (parent >= 0 && static_cast<std::size_t>(parent) < nodes.size())
            nodes[i].global = nodes[static_cast<std::size_t>(parent)].global * nodes[i].local;
        else
            nodes[i].global = nodes[i].local;
    }

    if (m_boneMatrices.size() != boneCount)
        m_boneMatrices.resize(boneCount);
    for (std::size_t i = 0; i < boneCount; ++i) {
        const std::uint32_t node = bones[i].node;
        m_boneMatrices[i] = node < nodes.size() ? nodes[node].global * bones[i].offset : bones[i].offset;
    }
}

float4x4 AnimationController::GetBoneTransform(unsigned bone) const
{
    const std::size_t count = m_boneMatrices.size();
    if (bone >= count || !m_skeleton)
        return float4x4();
    const auto& bones = m_skeleton->GetBones();
    float4x4 result = m_boneMatrices[bone];
    std::size_t index = bone < bones.size() ? bones[bone].parent : count;
    // A parent chain that loops back on itself would never reach its end: stop once every
    // matrix could have been used once.
    for (std::size_t steps = 1; index < count && steps < count; ++steps) {
        result = result * m_boneMatrices[index];
        index = index < bones.size() ? bones[index].parent : count;
    }
    return result;
}

} // namespace ZOR
