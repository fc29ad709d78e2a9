#pragma once
// Base of all components. An entity holds each of its components under a type identifier,
// m_id; a component registers with its system in Initialize and leaves it in Uninitialize.
#include "engine/QLObject.h"

#include <string>

namespace ZOR {
class DebugDrawer;
}

namespace quellor {

class RigidBodyComponent3D;

class Component : public QLObject {
    QUELLOR_REFLECT_KEYED(Component)

    Component() = default;
    // A copy belongs to no entity until it is added to one.
    Component(const Component& other) : QLObject(other), m_id(other.m_id) {}
    Component& operator=(const Component& other)
    {
        QLObject::operator=(other);
        m_id = other.m_id;
        return *this;
    }
    ~Component() override;

    // A new copy, or null for a component that cannot be cloned.
    virtual Component* Clone() const;
    virtual void Initialize();
    virtual void Uninitialize();
    virtual void DebugDraw(ZOR::DebugDrawer* drawer);

    // The owner entity's component held under "RigidBodyComponent3D"; null without an entity
    // or such a component. Defined by the physics library, which owns the class.
    RigidBodyComponent3D* GetRigidBody() const;

    std::string m_id;

private:
    friend class Entity;
    bool m_attached = false;
};

} // namespace quellor
