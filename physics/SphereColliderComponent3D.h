#pragma once
// A sphere on the entity's rigid body, sized by the entity's average scale.
#include "engine/reflection/Vec4.h"
#include "physics/ColliderComponent3D.h"

namespace quellor {

class SphereColliderComponent3D : public ColliderComponent3D {
    QUELLOR_REFLECT_KEYED(SphereColliderComponent3D)

    SphereColliderComponent3D() = default;
    ~SphereColliderComponent3D() override;

    // A new component with the centre and radius; the base fields keep their defaults.
    Component* Clone() const override;
    // Centre unscaled in the body's frame; radius times the mean of the entity's scales, whose
    // signs are dropped so that a mirrored entity keeps a sound sphere.
    Collider3D* BuildCollider(RigidBody3D* body) override;

    // Shape setters: the collider is rebuilt at the next physics update.
    SphereColliderComponent3D* SetCenter(const Vec4& center);
    SphereColliderComponent3D* SetRadius(float radius);

    Vec4 m_center;
    float m_radius = 1.0f;
};

} // namespace quellor
