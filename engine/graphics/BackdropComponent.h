#pragma once
// Shows the render system's sky sphere with a material, placed by its entity's transform, from
// initialisation to uninitialisation.
#include "engine/Component.h"

#include <string>

namespace ZOR {
class Renderable3D;
}

namespace quellor {

class Transform3D;

class BackdropComponent : public Component {
    QUELLOR_REFLECT_KEYED(BackdropComponent)

    BackdropComponent() = default;
    BackdropComponent(const BackdropComponent&) = default;
    ~BackdropComponent() override;

    Component* Clone() const override;
    // Becomes the system's backdrop, gives the sky sphere its material and shows it.
    void Initialize() override;
    // Hides the sky sphere, then clears the system's backdrop.
    void Uninitialize() override;
    // Stores the name; once the sky sphere is known, hands it on.
    void SetMaterial(const std::string& name);
    // The sky sphere's world matrix from the transform.
    virtual void Update(float dt);

    Transform3D* m_transform = nullptr;
    ZOR::Renderable3D* m_skySphere = nullptr;
    std::string m_materialName;
};

} // namespace quellor
