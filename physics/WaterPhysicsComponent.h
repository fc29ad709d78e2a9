#pragma once
// Announces its entity's body to the water system of the space "default". Without one (the
// program creates none) it does nothing.
#include "engine/Component.h"

namespace quellor {

class WaterPhysicsSystem;

class WaterPhysicsComponent : public Component {
    QUELLOR_REFLECT_KEYED(WaterPhysicsComponent)

    WaterPhysicsComponent() = default;
    WaterPhysicsComponent(const WaterPhysicsComponent&) = delete;
    WaterPhysicsComponent& operator=(const WaterPhysicsComponent&) = delete;
    ~WaterPhysicsComponent() override;

    // Caches the entity's rigid-body and graphics components and joins the water system.
    void Initialize() override;
    // Leaves the water system's list.
    void Uninitialize() override;

    Component* GetRigidBodyComponent() const { return m_rigidBody; }
    Component* GetGraphicsComponent() const { return m_graphics; }
    WaterPhysicsSystem* GetWaterSystem() const { return m_system; }

private:
    Component* m_rigidBody = nullptr;
    Component* m_graphics = nullptr;
    WaterPhysicsSystem* m_system = nullptr;
};

} // namespace quellor
