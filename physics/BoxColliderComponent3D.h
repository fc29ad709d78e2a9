#pragma once
// A box on the entity's rigid body: centred and turned in the body's frame, its half extents
// scaled by the entity's scales.
#include "engine/reflection/Vec4.h"
#include "physics/ColliderComponent3D.h"

namespace quellor {

class BoxColliderComponent3D : public ColliderComponent3D {
    QUELLOR_REFLECT_KEYED(BoxColliderComponent3D)

    BoxColliderComponent3D() = default;
    ~BoxColliderComponent3D() override;

    // A new component with the centre, rotations and half extents; the base fields keep their
    // defaults.
    Component* Clone() const override;
    // Centre unscaled; rotation Rz·Ry·Rx; half extents times the entity's scales, as
    // magnitudes so that a mirrored entity keeps a sound box.
    Collider3D* BuildCollider(RigidBody3D* body) override;

    // Shape setters: the collider is rebuilt at the next physics update.
    BoxColliderComponent3D* SetCenter(const Vec4& center);
    BoxColliderComponent3D* SetRotationX(float radians);
    BoxColliderComponent3D* SetRotationY(float radians);
    BoxColliderComponent3D* SetRotationZ(float radians);
    BoxColliderComponent3D* SetHalfExtents(const Vec4& halfExtents);

    Vec4 m_center;
    float m_rotationX = 0.0f;
    float m_rotationY = 0.0f;
    float m_rotationZ = 0.0f;
    Vec4 m_halfExtents{1.0f, 1.0f, 1.0f, 0.0f};
};

} // namespace quellor
