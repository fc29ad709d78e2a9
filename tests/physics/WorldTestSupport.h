#pragma once
#include "PhysicsTestSupport.h"

#include "physics/PhysicsWorld3D.h"

namespace quellor::test {

// A body of the world at position carrying one collider built from description.
inline RigidBody3D* BodyWith(PhysicsWorld3D& world, const ZOR::float3& position,
                             const ColliderDescription3D& description,
                             std::uint8_t motionType = kBodyDynamic, Collider3D** collider = nullptr)
{
    BodyDescription3D body = BodyAt(position);
    body.m_motionType = motionType;
    RigidBody3D* created = world.CreateBody(body);
    Collider3D* made = created->AddCollider(description);
    if (collider)
        *collider = made;
    return created;
}

} // namespace quellor::test
