#include "gameplay/effects/LiftBeamMesh.h"

#include "engine/OctaveNoise4D.h"
#include "renderer/DynamicMesh.h"
#include "renderer/math/float2.h"

#include <algorithm>
#include <cmath>

namespace quellor {

namespace {

constexpr float kBandHalfWidth = 0.35f; // radians at full fade
constexpr float kTubeRadius = 0.25f;    // at full fade
constexpr float kNoiseAmplitude = 2.25f;
constexpr float kQuarterTurn = 1.5707964f;

// A point at radius e around the centre m, at angle theta in the frame (s1, s2).
ZOR::float3 Around(const ZOR::float3& m, const ZOR::float3& s1, const ZOR::float3& s2, float theta, float e)
{
    return m + s1 * (std::cos(theta) * e) + s2 * (std::sin(theta) * e);
}

} // namespace

float LiftBeamMesh::Length(const ZOR::float3& a, const ZOR::float3& b)
{
    const float length = (b - a).Length();
    return std::isfinite(length) ? std::min(length, kMaxLength) : 0.0f;
}

int LiftBeamMesh::SegmentCount(float length)
{
    if (!(length > 0.0f))
        return 0;
    return kSegmentsPerTenUnits * static_cast<int>(std::ceil(std::min(length, kMaxLength) * 0.1f));
}

float LiftBeamMesh::Envelope(float t, float length)
{
    if (!(length > 0.0f))
        return 0.0f;
    if (length <= kShortBeam) {
        const float half = length * 0.5f;
        return t < half ? t / half : (length - t) / half;
    }
    if (t < kRamp)
        return t / kRamp;
    if (t <= length - kRamp)
        return 1.0f;
    return (length - t) / kRamp;
}

float LiftBeamMesh::Noise(const ZOR::float3& p, float phase)
{
    const float n = OctaveNoise4D(2.0f, 0.5f, 0.04f, p.x, p.y, p.z, 2.0f * phase) * kNoiseAmplitude;
    return std::isfinite(n) ? n : 0.0f;
}

void LiftBeamMesh::Build(ZOR::DynamicMesh& mesh, const ZOR::float3& a, const ZOR::float3& b, float fade,
                         float phase)
{
    mesh.Clear();
    const float length = Length(a, b);
    const int n = SegmentCount(length);
    if (n == 0 || !std::isfinite(fade) || !std::isfinite(phase))
        return;

    const ZOR::float3 d = (b - a).Normalized();
    // Straight up or down the cross product is zero: no waves and bands of no radius.
    const ZOR::float3 s1 = d.Cross(ZOR::float3(0.0f, 1.0f, 0.0f)).Normalized();
    const ZOR::float3 s2 = s1.Cross(d).Normalized();
    const float w = fade * kBandHalfWidth;
    const float s = 1.0f / static_cast<float>(n);

    for (int i = 0; i < n; ++i) {
        const float t0 = static_cast<float>(i) * s * length;
        const float t1 = (static_cast<float>(i) * s + s) * length;
        const ZOR::float3 c0 = a + d * t0;
        const ZOR::float3 c1 = c0 + d * (s * length);
        const float a0 = Envelope(t0, length);
        const float a1 = Envelope(t1, length);
        const ZOR::float3 p0 = c0 + (s1 * Noise(c0, phase) + s2 * Noise(-c0, phase)) * a0;
        const ZOR::float3 p1 = c1 + (s1 * Noise(c1, phase) + s2 * Noise(-c1, phase)) * a1;

        const float u0 = static_cast<float>(i) / 16.0f - phase;
        const float u1 = u0 + 1.0f / 16.0f;
        const ZOR::float2 uv0(u0, u0);
        const ZOR::float2 uv1(u1, u1);
        for (const float turn : {0.0f, kQuarterTurn}) {
            mesh.Push(Around(p0, s1, s2, u0 - w + turn, a0), uv0, 1.0f);
            mesh.Push(Around(p0, s1, s2, u0 + w + turn, a0), uv0, 1.0f);
            mesh.Push(Around(p1, s1, s2, u1 + w + turn, a1), uv1, 1.0f);
            mesh.Push(Around(p0, s1, s2, u0 - w + turn, a0), uv0, 1.0f);
            mesh.Push(Around(p1, s1, s2, u1 + w + turn, a1), uv1, 1.0f);
            mesh.Push(Around(p1, s1, s2, u1 - w + turn, a1), uv1, 1.0f);
        }
        mesh.Tube(p0, p1, fade * kTubeRadius, 1.0f, kTubeSides, ZOR::float2(0.0f, 0.0f), ZOR::float2(1.0f, 1.0f),
                  0.0f);
    }
}

} // namespace quellor
