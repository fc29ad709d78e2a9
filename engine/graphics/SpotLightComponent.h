#pragma once
// A spot light at its entity's position, aimed by m_direction. Like the point light, its values
// reach the renderer from its second update on.
#include "engine/Component.h"
#include "engine/reflection/Vec4.h"
#include "renderer/SpotLight.h"

namespace quellor {

class Transform3D;

class SpotLightComponent : public Component, public ZOR::SpotLight {
    QUELLOR_REFLECT_KEYED(SpotLightComponent)

    SpotLightComponent() = default;
    ~SpotLightComponent() override;

    // A new light with the defaults; the source's values are not carried over.
    Component* Clone() const override;
    void Initialize() override;
    void Uninitialize() override;
    void Update(float dt) override;

    Transform3D* m_transform = nullptr;
    Vec4 m_direction;
    Vec4 m_color{1.0f, 1.0f, 1.0f, 1.0f};
    float m_radius = 10.0f;
    float m_innerAlpha = 45.0f; // degrees
    float m_outerAlpha = 60.0f; // degrees
    float m_intensity = 1.0f;
};

} // namespace quellor
