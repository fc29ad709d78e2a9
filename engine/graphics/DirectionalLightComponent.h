#pragma once
// A light from a direction; it follows no transform.
#include "engine/Component.h"
#include "engine/reflection/Vec4.h"
#include "renderer/DirectionalLight.h"

namespace quellor {

class DirectionalLightComponent : public Component, public ZOR::DirectionalLight {
    QUELLOR_REFLECT_KEYED(DirectionalLightComponent)

    DirectionalLightComponent() = default;
    DirectionalLightComponent(const DirectionalLightComponent&) = default;
    ~DirectionalLightComponent() override;

    Component* Clone() const override;
    void Initialize() override;
    void Uninitialize() override;
    // Writes the direction and colour (w unused) to the light.
    void Update(float dt) override;

    Vec4 m_direction;
    Vec4 m_color{1.0f, 1.0f, 1.0f, 1.0f};
};

} // namespace quellor
