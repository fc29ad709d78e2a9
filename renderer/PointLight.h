#pragma once
#include "renderer/Renderable.h"
#include "renderer/math/Color.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"

#include <cstddef>

namespace ZOR {

// A light at a point with a radius of reach. Its bounds are the cube of that radius, rebuilt by
// Update; the point-light pass copies the instance record whole into its instance buffer.
class PointLight : public Renderable {
public:
    struct Instance {
        float4 position;
        Color color;
        float radius;
        float intensity;
    };

    PointLight();

    // Bounds = position -/+ (radius, radius, radius).
    void Update(float dt) override;

    // Points get w = 1; a float4 is taken whole.
    void SetPosition(const float3& position);
    void SetPosition(float x, float y, float z);
    void SetPosition(const float4& position);
    // (r, g, b) gets alpha 1; a float3 or float4 gets alpha 0 (the float4's w is ignored); a Color
    // is taken whole.
    void SetColor(float r, float g, float b);
    void SetColor(const float3& color);
    void SetColor(const float4& color);
    void SetColor(const Color& color);
    void SetRadius(float radius) { m_instance.radius = radius; }
    void SetIntensity(float intensity) { m_instance.intensity = intensity; }

    const float4& GetPosition() const { return m_instance.position; }
    const Color& GetColor() const { return m_instance.color; }
    float GetRadius() const { return m_instance.radius; }
    float GetIntensity() const { return m_instance.intensity; }
    const Instance& GetInstance() const { return m_instance; }

private:
    Instance m_instance;
};

static_assert(sizeof(PointLight::Instance) == 40);
static_assert(offsetof(PointLight::Instance, position) == 0);
static_assert(offsetof(PointLight::Instance, color) == 16);
static_assert(offsetof(PointLight::Instance, radius) == 32);
static_assert(offsetof(PointLight::Instance, intensity) == 36);

} // namespace ZOR
