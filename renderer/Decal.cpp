#include "renderer/Decal.h"

#include <algorithm>
#include <limits>

namespace ZOR {

Decal::Decal() : Renderable(Type::Decal)
{
    m_instance.alpha = 1.0f;
}

void Decal::SetAlpha(float alpha)
{
    if (alpha < 0.0f)
        m_instance.alpha = 0.0f;
    else if (alpha > 1.0f)
        m_instance.alpha = 1.0f;
    else
        m_instance.alpha = alpha;
}

void Decal::Update(float)
{
    m_instance.world = float4x4::Translate(m_position) * float4x4::Scale(m_scale);

    // The projector looks straight down from the decal's centre.
    float4x4 view;
    view.SetLookAt(m_position, float3(0.0f, -1.0f, 0.0f), float3(1.0f, 0.0f, 0.0f));
    const float4x4 projection(2.0f / m_scale.z, 0.0f, 0.0f, 0.0f,
                              0.0f, 2.0f / m_scale.x, 0.0f, 0.0f,
                              0.0f, 0.0f, 1.0f, 0.0f,
                              0.0f, 0.0f, 0.0f, 1.0f);
    m_instance.projector = projection * view;

    constexpr float inf = std::numeric_limits<float>::infinity();
    float3 lo(inf, inf, inf);
    float3 hi(-inf, -inf, -inf);
    for (int i = 0; i < 8; ++i) {
        const float4 corner((i & 1) ? 0.5f : -0.5f, (i & 2) ? 0.5f : -0.5f, (i & 4) ? 0.5f : -0.5f, 1.0f);
        const float4 p = m_instance.world * corner;
        lo.Set(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi.Set(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
    m_aabb.Set(lo, hi);
}

} // namespace ZOR
