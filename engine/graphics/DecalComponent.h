#pragma once
// A projected decal at its entity's position, sized by the entity's three scales.
#include "engine/Component.h"
#include "renderer/Decal.h"

namespace quellor {

class Transform3D;

class DecalComponent : public Component, public ZOR::Decal {
    QUELLOR_REFLECT_KEYED(DecalComponent)

    DecalComponent() = default;
    DecalComponent(const DecalComponent&) = default;
    ~DecalComponent() override;

    // A copy that finds its own entity's transform.
    Component* Clone() const override;
    void Initialize() override;
    void Uninitialize() override;
    void Update(float dt) override;

    Transform3D* m_transform = nullptr;
    float m_alpha = 1.0f;
};

} // namespace quellor
