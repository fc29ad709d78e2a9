#pragma once
// Base of the components that give an entity's rigid body a collision shape. The physics
// system keeps them in its list and asks each, once a frame before stepping, to attach or
// rebuild its collider and to take over the contacts of the last step.
#include "engine/Component.h"
#include "engine/IntrusiveList.h"

namespace quellor {

class Collider3D;

class ColliderComponent3D : public Component {
public:
    ColliderComponent3D() = default;
    ColliderComponent3D(const ColliderComponent3D&) = delete;
    ColliderComponent3D& operator=(const ColliderComponent3D&) = delete;
    ~ColliderComponent3D() override;

    // Attaches a new or outdated collider and copies its contacts; the base has no shape.
    virtual void SyncContacts();

    Collider3D* GetCollider() const { return m_collider; }
    // The world took the collider down with it.
    void ForgetCollider() { m_collider = nullptr; }

    IntrusiveLink<ColliderComponent3D> m_systemLink;

protected:
    Collider3D* m_collider = nullptr;
};

} // namespace quellor
