#include "renderer/Renderable3D.h"

#include "renderer/Hash.h"
#include "renderer/Material.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace ZOR {

std::uint32_t ModelMaterialHash(const Model* model, const Material* material)
{
    const auto address = reinterpret_cast<std::uintptr_t>(model);
    const auto low = static_cast<std::uint32_t>(address & 0xFFFFFFFFu);
    const std::uint32_t id = material ? material->GetID() : 0u;
    return FNV1a(low) + FNV1a(id);
}

AABB TransformBox(const AABB& box, const float4x4& world)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    float3 lo(inf, inf, inf), hi(-inf, -inf, -inf);
    for (int i = 0; i < 8; ++i) {
        const float4 corner((i & 1) ? box.max.x : box.min.x, (i & 2) ? box.max.y : box.min.y,
                            (i & 4) ? box.max.z : box.min.z, 1.0f);
        const float4 p = world * corner;
        lo = float3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi = float3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
    return AABB(lo, hi);
}

Renderable3D::Renderable3D() : ModelRenderable(Type::Renderable3D) {}

} // namespace ZOR
