#pragma once
#include "renderer/AnimationController.h"
#include "renderer/Renderable.h"
#include "renderer/math/AABB.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4x4.h"

#include <string>

namespace ZOR {

class Material;
class Model;

// A skinned model with the animation controller that poses it.
class Renderable3DSkinned : public Renderable {
public:
    struct Instance {
        float4x4 world;
        float4x4 normal;
        float glowStrength = 0.0f;
        float3 zero;
    };

    Renderable3DSkinned();

    // As Renderable3D's; a found model also gives the controller its skeleton.
    void SetModel(const std::string& name);
    void SetMaterial(const std::string& name);
    void SetMaterial(Material* material);
    void SetWorldMatrix(const float4x4& world);
    void SetGlowStrength(float glow);

    Model* GetModel() const { return m_model; }
    Material* GetMaterial() const { return m_material; }
    AnimationController& GetAnimationController() { return m_controller; }
    const AnimationController& GetAnimationController() const { return m_controller; }
    const Instance& GetInstance() const { return m_instance; }

    // Advances the controller, then refreshes the world box.
    void Update(float dt) override;

private:
    AnimationController m_controller;
    Model* m_model = nullptr;
    Material* m_material = nullptr;
    AABB m_bounds;
    Instance m_instance;
};

static_assert(sizeof(Renderable3DSkinned::Instance) == 144);

} // namespace ZOR
