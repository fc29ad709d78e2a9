#include "renderer/SpotLight.h"

#include "renderer/math/Angles.h"

namespace ZOR {

SpotLight::SpotLight() : Renderable(Type::SpotLight)
{
    m_instance.position = float4(0.0f, 0.0f, 0.0f, 0.0f);
    m_instance.direction = float4(0.0f, 0.0f, 0.0f, 0.0f);
    m_instance.color = Color(0.0f, 0.0f, 0.0f, 1.0f);
    // The light's users set these before it is drawn; 0 keeps them defined until then.
    m_instance.radius = 0.0f;
    m_instance.innerAngle = 0.0f;
    m_instance.outerAngle = 0.0f;
    m_instance.intensity = 0.0f;
}

void SpotLight::SetPosition(const float3& position)
{
    m_instance.position.Set(position, 1.0f);
}

void SpotLight::SetPosition(float x, float y, float z)
{
    m_instance.position.Set(x, y, z, 1.0f);
}

void SpotLight::SetPosition(const float4& position)
{
    m_instance.position = position;
}

void SpotLight::SetDirection(const float3& direction)
{
    m_instance.direction.Set(direction, 0.0f);
}

void SpotLight::SetDirection(float x, float y, float z)
{
    m_instance.direction.Set(x, y, z, 0.0f);
}

void SpotLight::SetDirection(const float4& direction)
{
    m_instance.direction = direction;
}

void SpotLight::SetColor(float r, float g, float b)
{
    m_instance.color.Set(r, g, b, 1.0f);
}

void SpotLight::SetColor(const float3& color)
{
    m_instance.color.Set(color.x, color.y, color.z, 0.0f);
}

void SpotLight::SetColor(const float4& color)
{
    m_instance.color.Set(color.x, color.y, color.z, 0.0f);
}

void SpotLight::SetColor(const Color& color)
{
    m_instance.color = color;
}

void SpotLight::SetConeAngles(float inner, float outer)
{
    m_instance.innerAngle = inner * kDegreesToRadians;
    m_instance.outerAngle = outer * kDegreesToRadians;
}

float SpotLight::GetInnerAlpha() const
{
    return m_instance.innerAngle * kRadiansToDegrees;
}

float SpotLight::GetOuterAlpha() const
{
    return m_instance.outerAngle * kRadiansToDegrees;
}

} // namespace ZOR
