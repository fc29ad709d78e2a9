#pragma once
// A camera-facing quad with a material at its entity's position, sized by its x and y scales.
#include "engine/Component.h"
#include "renderer/BillboardedQuad.h"

#include <string>

namespace quellor {

class Transform3D;

class BillboardedQuadComponent : public Component, public ZOR::BillboardedQuad {
    QUELLOR_REFLECT_KEYED(BillboardedQuadComponent)

    BillboardedQuadComponent() = default;
    BillboardedQuadComponent(const BillboardedQuadComponent&) = default;
    ~BillboardedQuadComponent() override;

    Component* Clone() const override;
    // Registers, then applies the stored material (the quad ignores one before that).
    void Initialize() override;
    void Uninitialize() override;
    // Stores the name and hands it to the quad.
    virtual void SetMaterial(const std::string& name);
    void Update(float dt) override;

    Transform3D* m_transform = nullptr;
    std::string m_materialName;
};

} // namespace quellor
