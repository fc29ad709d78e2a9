#pragma once
// What the gameplay effect meshes share: texture strips of frames side by side, a random
// turn of a sphere's texture drawn once per component, and their entity's position.
#include "renderer/dx11/RenderContext.h"
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <string>

namespace ZOR {
class DynamicMesh;
}

namespace quellor {

class QLObject;

// N frames of one frame time each, side by side along u.
struct FrameStrip {
    int frames = 1;
    float frameTime = 1.0f;

    float Cycle() const { return static_cast<float>(frames) * frameTime; }
    // The timer moved on by dt, wrapped at the cycle.
    float Advance(float timer, float dt) const;
    // The frame the timer shows, truncated and kept within the strip.
    int Frame(float timer) const;
    // The frame's texture range along u, between v0 and v1.
    ZOR::float2 UvMin(int frame, float v0) const;
    ZOR::float2 UvMax(int frame, float v1) const;
};

// The draw settings every effect mesh starts with: its texture (none when empty), both faces
// drawn, and its blend mode.
void SetUpEffectMesh(ZOR::DynamicMesh& mesh, const std::string& texture, ZOR::BlendMode blend);

// Four values in [-1, 1) taken as a quaternion, normalised (a zero one is not) and turned into
// its rotation.
ZOR::float3x3 RandomOrientation();
// The position of the object's entity's Transform3D; the origin without one.
ZOR::float3 EffectOwnerPosition(const QLObject& object);

} // namespace quellor
