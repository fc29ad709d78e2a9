#pragma once
// Sets the mass of its entity's sphere, box or quad collider from level data once, when it is
// initialised, and says so on standard output.
#include "engine/Component.h"

namespace quellor {

class ColliderComponent3D;

class MassOverrideComponent : public Component {
    QUELLOR_REFLECT_KEYED(MassOverrideComponent)

    MassOverrideComponent() = default;
    MassOverrideComponent(const MassOverrideComponent&) = delete;
    MassOverrideComponent& operator=(const MassOverrideComponent&) = delete;
    ~MassOverrideComponent() override;

    Component* Clone() const override;
    // Takes the first of the entity's sphere, box and quad colliders, in that order, and gives
    // it m_mass. A mesh collider is not considered.
    void Initialize() override;
    void Uninitialize() override;

    ColliderComponent3D* GetTarget() const { return m_collider; }

    float m_mass = 1.0f;

private:
    ColliderComponent3D* m_collider = nullptr;
};

} // namespace quellor
