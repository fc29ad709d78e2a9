#pragma once
// A point light at its entity's position. Its values reach the renderer from its second
// update on: the first only finds the transform.
#include "engine/Component.h"
#include "engine/reflection/Vec4.h"
#include "renderer/PointLight.h"

namespace quellor {

class Transform3D;

class PointLightComponent : public Component, public ZOR::PointLight {
    QUELLOR_REFLECT_KEYED(PointLightComponent)

    PointLightComponent() = default;
    ~PointLightComponent() override;

    // A new light with the defaults; the source's values are not carried over.
    Component* Clone() const override;
    void Initialize() override;
    void Uninitialize() override;
    void Update(float dt) override;

    // Code-side control; the values reach the renderer in the next update. The colour's fourth
    // component is kept.
    void SetColor(float r, float g, float b);
    void SetIntensity(float intensity) { m_intensity = intensity; }
    void SetRadius(float radius) { m_radius = radius; }

    Transform3D* m_transform = nullptr;
    Vec4 m_color{1.0f, 1.0f, 1.0f, 1.0f};
    float m_intensity = 1.0f;
    float m_radius = 1.0f;
};

} // namespace quellor
