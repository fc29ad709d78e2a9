#pragma once
// An animated, skinned model at its entity's transform. It moves and animates only through the
// graphics system's UpdateSkinned, which the game logic drives.
#include "engine/graphics/ModelComponent.h"
#include "renderer/Renderable3DSkinned.h"

namespace quellor {

class GraphicsComponent3DSkinned : public ModelComponent<ZOR::Renderable3DSkinned> {
    QUELLOR_REFLECT_KEYED(GraphicsComponent3DSkinned)

    GraphicsComponent3DSkinned() = default;
    GraphicsComponent3DSkinned(const GraphicsComponent3DSkinned&) = default;
    ~GraphicsComponent3DSkinned() override;

    Component* Clone() const override;
    // Registers, then applies the material and then the model.
    void Initialize() override;
    void Uninitialize() override;
};

} // namespace quellor
