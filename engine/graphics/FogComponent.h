#pragma once
// Sets the render system's global fog every frame; of several, the last registered wins.
#include "engine/Component.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class FogComponent : public Component {
    QUELLOR_REFLECT_KEYED(FogComponent)

    FogComponent() = default;
    FogComponent(const FogComponent&) = default;
    ~FogComponent() override;

    Component* Clone() const override;
    void Initialize() override;
    void Uninitialize() override;
    virtual void Update(float dt);

    float m_globalDensity = 0.02f;
    float m_heightDensity = 0.05f;
    float m_heightFalloff = 0.1f;
    Vec4 m_color{0.5f, 0.5f, 0.5f, 0.0f};
};

} // namespace quellor
