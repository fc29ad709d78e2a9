#pragma once
// A screen-space sprite placed and sized by its entity's 2D transform (the rotation is not
// applied, and the sprite's frame animation is not advanced here).
#include "engine/Component.h"
#include "renderer/Renderable2D.h"

#include <string>

namespace quellor {

class Transform2D;

class GraphicsComponent2D : public Component, public ZOR::Renderable2D {
    QUELLOR_REFLECT_KEYED(GraphicsComponent2D)

    GraphicsComponent2D() = default;
    GraphicsComponent2D(const GraphicsComponent2D&) = default;
    ~GraphicsComponent2D() override;

    Component* Clone() const override;
    // Registers, then applies the stored material.
    void Initialize() override;
    void Uninitialize() override;
    // Stores the name and hands it to the sprite.
    virtual void SetMaterial(const std::string& name);
    // Size from the transform's scales, position from its x and y.
    void Update(float dt) override;

    Transform2D* m_transform = nullptr;
    std::string m_materialName;
};

} // namespace quellor
