#pragma once
#include "renderer/AnimationController.h"
#include "renderer/ModelRenderable.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4x4.h"

namespace ZOR {

// The per-draw record of a skinned model, padded to the size of the object buffer.
struct SkinnedModelInstance {
    float4x4 world;
    float4x4 normal;
    float glowStrength = 0.0f;
    float3 zero;
};
static_assert(sizeof(SkinnedModelInstance) == 144);

// A skinned model with the animation controller that poses it.
class Renderable3DSkinned : public ModelRenderable<SkinnedModelInstance> {
public:
    Renderable3DSkinned();

    AnimationController& GetAnimationController() { return m_controller; }
    const AnimationController& GetAnimationController() const { return m_controller; }

    // Advances the controller, then refreshes the world box.
    void Update(float dt) override;

private:
    // A found model also gives the controller its skeleton.
    void ModelFound(Model& model) override;

    AnimationController m_controller;
};

} // namespace ZOR
