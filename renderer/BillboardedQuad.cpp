#include "renderer/BillboardedQuad.h"

#include "renderer/Hash.h"
#include "renderer/Material.h"
#include "renderer/RenderSystem.h"

#include <algorithm>

namespace ZOR {

BillboardedQuad::BillboardedQuad() : Renderable(Type::BillboardedQuad) {}

void BillboardedQuad::Update(float)
{
    const float4& p = m_instance.position;
    const float2& s = m_instance.scale;
    const float m = std::max(s.x, s.y);
    m_aabb.Set(p.x - s.x / 2.0f, p.y - s.y / 2.0f, p.z - m / 2.0f, p.x + s.x / 2.0f, p.y + s.y / 2.0f,
               p.z + m / 2.0f);
}

void BillboardedQuad::SetPosition(const float3& position)
{
    m_instance.position.Set(position, 1.0f);
}

void BillboardedQuad::SetPosition(float x, float y, float z)
{
    m_instance.position.Set(x, y, z, 1.0f);
}

void BillboardedQuad::SetPosition(const float4& position)
{
    m_instance.position = position;
}

void BillboardedQuad::SetMaterial(const std::string& name)
{
    if (m_owner == nullptr)
        return;
    SetMaterial(m_owner->GetMaterial(name));
}

void BillboardedQuad::SetMaterial(Material* material)
{
    m_material = material;
    m_hash = material ? FNV1a(material->GetID()) : 0u;
}

} // namespace ZOR
