#pragma once
#include "renderer/Renderable.h"
#include "renderer/math/Color.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"

#include <cstddef>

namespace ZOR {

// A light from a direction. The directional pass copies the instance record whole into a
// constant buffer, so each setter's w or alpha is part of what the shader sees.
class DirectionalLight : public Renderable {
public:
    struct Instance {
        float4 direction;
        Color color;
    };

    DirectionalLight();

    // Directions get w = 0; a float4 is taken whole.
    void SetDirection(const float3& direction);
    void SetDirection(float x, float y, float z);
    void SetDirection(const float4& direction);
    // Three components get alpha 1; a Color is taken whole.
    void SetColor(float r, float g, float b);
    void SetColor(const float3& color);
    void SetColor(const Color& color);

    const float4& GetDirection() const { return m_instance.direction; }
    const Color& GetColor() const { return m_instance.color; }
    const Instance& GetInstance() const { return m_instance; }

private:
    Instance m_instance;
};

static_assert(sizeof(DirectionalLight::Instance) == 32);
static_assert(offsetof(DirectionalLight::Instance, direction) == 0);
static_assert(offsetof(DirectionalLight::Instance, color) == 16);

} // namespace ZOR
