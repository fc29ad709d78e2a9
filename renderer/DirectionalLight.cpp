#include "renderer/DirectionalLight.h"

namespace ZOR {

DirectionalLight::DirectionalLight() : Renderable(Type::DirectionalLight)
{
    m_instance.direction = float4(0.0f, 0.0f, 0.0f, 0.0f);
    m_instance.color = Color(0.0f, 0.0f, 0.0f, 1.0f);
}

void DirectionalLight::SetDirection(const float3& direction)
{
    m_instance.direction.Set(direction, 0.0f);
}

void DirectionalLight::SetDirection(float x, float y, float z)
{
    m_instance.direction.Set(x, y, z, 0.0f);
}

void DirectionalLight::SetDirection(const float4& direction)
{
    m_instance.direction = direction;
}

void DirectionalLight::SetColor(float r, float g, float b)
{
    m_instance.color.Set(r, g, b, 1.0f);
}

void DirectionalLight::SetColor(const float3& color)
{
    m_instance.color.Set(color.x, color.y, color.z, 1.0f);
}

void DirectionalLight::SetColor(const Color& color)
{
    m_instance.color = color;
}

} // namespace ZOR
