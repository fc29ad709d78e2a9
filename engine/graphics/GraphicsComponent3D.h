#pragma once
// A static model at its entity's transform.
#include "engine/graphics/ModelComponent.h"
#include "renderer/Renderable3D.h"

namespace quellor {

class GraphicsComponent3D : public ModelComponent<ZOR::Renderable3D> {
    QUELLOR_REFLECT_KEYED(GraphicsComponent3D)

    GraphicsComponent3D() = default;
    GraphicsComponent3D(const GraphicsComponent3D&) = default;
    ~GraphicsComponent3D() override;

    Component* Clone() const override;
    // Registers, then applies the material and then the model.
    void Initialize() override;
    void Uninitialize() override;
};

} // namespace quellor
