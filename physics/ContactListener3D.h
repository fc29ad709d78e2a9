#pragma once

namespace quellor {

class Collider3D;
class Contact3D;
class RigidBody3D;
struct ContactPoint3D;

// Told of every change the contact manager makes. All callbacks do nothing unless overridden.
class ContactListener3D {
public:
    virtual ~ContactListener3D() = default;

    virtual void BodyPairBegin(RigidBody3D*, RigidBody3D*) {}
    virtual void ContactBegin(Collider3D*, Collider3D*, Contact3D*) {}
    virtual void PointAdded(Collider3D*, Collider3D*, ContactPoint3D*) {}
    virtual void BodyPairEnd(RigidBody3D*, RigidBody3D*) {}
    virtual void ContactEnd(Collider3D*, Collider3D*, Contact3D*) {}
    virtual void PointRemoved(Collider3D*, Collider3D*, ContactPoint3D*) {}
};

} // namespace quellor
