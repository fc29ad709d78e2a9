#pragma once
// A rectangle on the entity's rigid body, lying in its own x-z plane; the entity's scale does
// not reach it.
#include "engine/reflection/Vec4.h"
#include "physics/ColliderComponent3D.h"

namespace quellor {

class QuadColliderComponent3D : public ColliderComponent3D {
    QUELLOR_REFLECT_KEYED(QuadColliderComponent3D)

    QuadColliderComponent3D() = default;
    ~QuadColliderComponent3D() override;

    // A new component with the centre, rotations and half sizes; the base fields keep their
    // defaults.
    Component* Clone() const override;
    // Centre, rotation Rz·Ry·Rx and half sizes as they are, unscaled.
    Collider3D* BuildCollider(RigidBody3D* body) override;

    // Shape setters: the collider is rebuilt at the next physics update.
    QuadColliderComponent3D* SetCenter(const Vec4& center);
    QuadColliderComponent3D* SetRotationX(float radians);
    QuadColliderComponent3D* SetRotationY(float radians);
    QuadColliderComponent3D* SetRotationZ(float radians);
    QuadColliderComponent3D* SetHalfWidth(float halfWidth);
    QuadColliderComponent3D* SetHalfHeight(float halfHeight);
    QuadColliderComponent3D* SetHalfSize(float halfWidth, float halfHeight);

    Vec4 m_center;
    float m_rotationX = 0.0f;
    float m_rotationY = 0.0f;
    float m_rotationZ = 0.0f;
    float m_halfWidth = 1.0f;
    float m_halfHeight = 1.0f;
};

} // namespace quellor
