#pragma once
// A static model at its entity's transform. The model and material names are kept here so
// that a level can set them before the model belongs to a render system.
#include "engine/Component.h"
#include "renderer/Renderable3D.h"

#include <string>

namespace quellor {

class Transform3D;

class GraphicsComponent3D : public Component, public ZOR::Renderable3D {
    QUELLOR_REFLECT_KEYED(GraphicsComponent3D)

    GraphicsComponent3D() = default;
    GraphicsComponent3D(const GraphicsComponent3D&) = default;
    ~GraphicsComponent3D() override;

    Component* Clone() const override;
    // Registers, then applies the material and then the model.
    void Initialize() override;
    void Uninitialize() override;
    // Each stores the name and hands it to the model.
    virtual void SetModel(const std::string& name);
    virtual void SetMaterial(const std::string& name);
    // World matrix from the transform, glow, bounds, re-filing in the octree.
    void Update(float dt) override;

    Transform3D* m_transform = nullptr;
    std::string m_modelName;
    std::string m_materialName;
    float m_glowStrength = 0.0f;
};

} // namespace quellor
