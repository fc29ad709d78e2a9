#include "gameplay/effects/EffectFamily.h"

#include "engine/Random.h"
#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "physics/PhysicsMath3D.h"
#include "renderer/DynamicMesh.h"

#include <algorithm>
#include <cmath>

namespace quellor {

float FrameStrip::Advance(float timer, float dt) const
{
    const float cycle = Cycle();
    return cycle > 0.0f ? std::fmod(timer + dt, cycle) : 0.0f;
}

int FrameStrip::Frame(float timer) const
{
    if (!(frameTime > 0.0f) || !std::isfinite(timer))
        return 0;
    // Rounding can land the wrapped timer a hair short of the cycle: keep the last frame.
    return std::clamp(static_cast<int>(timer / frameTime), 0, std::max(frames - 1, 0));
}

ZOR::float2 FrameStrip::UvMin(int frame, float v0) const
{
    return ZOR::float2(static_cast<float>(frame) / static_cast<float>(frames), v0);
}

ZOR::float2 FrameStrip::UvMax(int frame, float v1) const
{
    return ZOR::float2(static_cast<float>(frame + 1) / static_cast<float>(frames), v1);
}

void SetUpEffectMesh(ZOR::DynamicMesh& mesh, const std::string& texture, ZOR::BlendMode blend)
{
    mesh.SetTexture(texture);
    mesh.SetCullMode(ZOR::CullMode::None);
    mesh.SetBlendMode(blend);
}

ZOR::float3x3 RandomOrientation()
{
    float x = RandomUnit() * 2.0f - 1.0f;
    float y = RandomUnit() * 2.0f - 1.0f;
    float z = RandomUnit() * 2.0f - 1.0f;
    float w = RandomUnit() * 2.0f - 1.0f;
    const float length = std::sqrt(x * x + y * y + z * z + w * w);
    if (length > 0.0f) {
        x /= length;
        y /= length;
        z /= length;
        w /= length;
    }
    return physics_math::RotationFromQuaternion(x, y, z, w);
}

ZOR::float3 EffectOwnerPosition(const QLObject& object)
{
    const Transform3D* transform = FindTransform3D(object);
    return transform ? ZOR::float3(transform->m_x, transform->m_y, transform->m_z) : ZOR::float3();
}

} // namespace quellor
