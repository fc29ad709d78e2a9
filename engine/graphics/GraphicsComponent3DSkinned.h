#pragma once
// An animated, skinned model at its entity's transform. It moves and animates only through the
// graphics system's UpdateSkinned, which the game logic drives. The model and material names
// are kept here so that a level can set them before the model belongs to a render system.
#include "engine/Component.h"
#include "renderer/Renderable3DSkinned.h"

#include <string>

namespace quellor {

class Transform3D;

class GraphicsComponent3DSkinned : public Component, public ZOR::Renderable3DSkinned {
    QUELLOR_REFLECT_KEYED(GraphicsComponent3DSkinned)

    GraphicsComponent3DSkinned() = default;
    GraphicsComponent3DSkinned(const GraphicsComponent3DSkinned&) = default;
    ~GraphicsComponent3DSkinned() override;

    Component* Clone() const override;
    // Registers, then applies the material and then the model.
    void Initialize() override;
    void Uninitialize() override;
    // Each stores the name and hands it to the model.
    virtual void SetModel(const std::string& name);
    virtual void SetMaterial(const std::string& name);
    // World matrix from the transform, glow, animation and bounds, re-filing in the octree.
    void Update(float dt) override;

    Transform3D* m_transform = nullptr;
    std::string m_modelName;
    std::string m_materialName;
    float m_glowStrength = 0.0f;
};

} // namespace quellor
