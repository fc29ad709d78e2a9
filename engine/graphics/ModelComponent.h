#pragma once
// What the static and the skinned model components share: the model and material names, kept
// here so that a level can set them before the model belongs to a render system, the glow
// strength, and the per-frame move to the entity's transform. ModelRenderable is the renderer's
// model class the component is.
#include "engine/Component.h"
#include "engine/graphics/VisibilityMembers.h"
#include "engine/reflection/MetaRegistrar.h"

#include <string>

namespace quellor {

class Transform3D;

template <class ModelRenderable>
class ModelComponent : public Component, public ModelRenderable {
public:
    // Each stores the name and hands it to the model.
    virtual void SetModel(const std::string& name);
    virtual void SetMaterial(const std::string& name);
    // World matrix from the transform, glow, then the model's own update; re-files in the octree.
    void Update(float dt) override;

    Transform3D* m_transform = nullptr;
    std::string m_modelName;
    std::string m_materialName;
    float m_glowStrength = 0.0f;

protected:
    ModelComponent() = default;
    ModelComponent(const ModelComponent&) = default;
    ~ModelComponent() override = default;

    // The names once the component is registered: the material first, then the model.
    void ApplyNames();
};

// The members both components reflect, in their order: the two names (their setters the
// component's own), the visibility flags and the glow strength.
template <class Class>
void RegisterModelMembers(MetaRegistrar<Class>& reg)
{
    auto model = reg.Member("m_modelName", &Class::m_modelName).Extension(".model");
    auto material = reg.Member("m_materialName", &Class::m_materialName).Extension(".mat");
    RegisterVisibilityMembers(reg);
    reg.Member("m_glowStrength", &Class::m_glowStrength);
    model.Setter("SetModel", &Class::SetModel);
    material.Setter("SetMaterial", &Class::SetMaterial);
}

} // namespace quellor
