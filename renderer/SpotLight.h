#pragma once
#include "renderer/Renderable.h"
#include "renderer/math/Color.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"

#include <cstddef>

namespace ZOR {

// A cone of light. Spot lights are never culled, so Update leaves the bounds alone; the spot pass
// (a friend, as the record has no public getter) copies the instance record whole.
class SpotLight : public Renderable {
public:
    struct Instance {
        float4 position;
        float4 direction;
        Color color;
        float radius;
        float innerAngle; // radians
        float outerAngle; // radians
        float intensity;
    };

    SpotLight();

    void SetPosition(const float3& position);
    void SetPosition(float x, float y, float z);
    void SetPosition(const float4& position);
    void SetDirection(const float3& direction);
    void SetDirection(float x, float y, float z);
    void SetDirection(const float4& direction);
    // (r, g, b) gets alpha 1; a float3 or float4 gets alpha 0; a Color is taken whole.
    void SetColor(float r, float g, float b);
    void SetColor(const float3& color);
    void SetColor(const float4& color);
    void SetColor(const Color& color);
    void SetRadius(float radius) { m_instance.radius = radius; }
    void SetIntensity(float intensity) { m_instance.intensity = intensity; }
    // Degrees in, radians stored.
    void SetConeAngles(float inner, float outer);

    const float4& GetPosition() const { return m_instance.position; }
    const float4& GetDirection() const { return m_instance.direction; }
    const Color& GetColor() const { return m_instance.color; }
    float GetRadius() const { return m_instance.radius; }
    float GetIntensity() const { return m_instance.intensity; }
    // The cone angles back in degrees.
    float GetInnerAlpha() const;
    float GetOuterAlpha() const;

private:
    friend class RenderSystem;

    Instance m_instance;
};

static_assert(sizeof(SpotLight::Instance) == 64);
static_assert(offsetof(SpotLight::Instance, position) == 0);
static_assert(offsetof(SpotLight::Instance, direction) == 16);
static_assert(offsetof(SpotLight::Instance, color) == 32);
static_assert(offsetof(SpotLight::Instance, radius) == 48);
static_assert(offsetof(SpotLight::Instance, innerAngle) == 52);
static_assert(offsetof(SpotLight::Instance, outerAngle) == 56);
static_assert(offsetof(SpotLight::Instance, intensity) == 60);

} // namespace ZOR
