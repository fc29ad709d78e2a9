#include "renderer/PointLight.h"

namespace ZOR {

PointLight::PointLight() : Renderable(Type::PointLight)
{
    m_instance.position = float4(0.0f, 0.0f, 0.0f, 0.0f);
    m_instance.color = Color(0.0f, 0.0f, 0.0f, 1.0f);
    // Left open by the light's users, who set both before it is drawn; 0 keeps them defined.
    m_instance.radius = 0.0f;
    m_instance.intensity = 0.0f;
}

void PointLight::Update(float)
{
    const float3 center(m_instance.position.x, m_instance.position.y, m_instance.position.z);
    const float r = m_instance.radius;
    m_aabb.Set(center - float3(r, r, r), center + float3(r, r, r));
}

void PointLight::SetPosition(const float3& position)
{
    m_instance.position.Set(position, 1.0f);
}

void PointLight::SetPosition(float x, float y, float z)
{
    m_instance.position.Set(x, y, z, 1.0f);
}

void PointLight::SetPosition(const float4& position)
{
    m_instance.position = position;
}

void PointLight::SetColor(float r, float g, float b)
{
    m_instance.color.Set(r, g, b, 1.0f);
}

void PointLight::SetColor(const float3& color)
{
    m_instance.color.Set(color.x, color.y, color.z, 0.0f);
}

void PointLight::SetColor(const float4& color)
{
    m_instance.color.Set(color.x, color.y, color.z, 0.0f);
}

void PointLight::SetColor(const Color& color)
{
    m_instance.color = color;
}

} // namespace ZOR
