#pragma once
// Gives an entity a rigid body in the world of its space's physics system. It keeps the body's
// settings until the body exists, forwards setters and queries to it, and once a frame moves
// the entity's Transform3D to the body's pose. Collider components of the same entity attach
// to this body.
#include "engine/Component.h"
#include "engine/IntrusiveList.h"
#include "engine/reflection/Mat4.h"
#include "engine/reflection/Vec4.h"
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <vector>

namespace quellor {

class RigidBody3D;
class Transform3D;

class RigidBodyComponent3D : public Component {
    QUELLOR_REFLECT_KEYED(RigidBodyComponent3D)

    RigidBodyComponent3D() = default;
    RigidBodyComponent3D(const RigidBodyComponent3D&) = delete;
    RigidBodyComponent3D& operator=(const RigidBodyComponent3D&) = delete;
    ~RigidBodyComponent3D() override;

    // A fresh component at its defaults, without a body.
    Component* Clone() const override;
    // Creates the body at the origin and registers; the body is placed at the entity's
    // transform by the first SyncTransform. Without a physics system it stays inert.
    void Initialize() override;
    void Uninitialize() override;

    // Moves the transform to the body (after a pending push the other way) and rebuilds the
    // touching list; called by the system after its steps.
    void SyncTransform();
    // The world took the body down with it.
    void ForgetBody() { m_body = nullptr; }

    RigidBodyComponent3D* SetType(int type);
    RigidBodyComponent3D* SetLinearVelocity(const Vec4& velocity);
    RigidBodyComponent3D* SetAngularVelocity(const Vec4& velocity);
    RigidBodyComponent3D* SetAllowRotation(bool allow);
    RigidBodyComponent3D* SetHasGravity(bool hasGravity);

    // Without a body these answer from the fields, or from the entity's Transform3D (the origin,
    // unturned, when it has none), and the setters write the Transform3D, where the body will
    // start.
    int GetType() const;
    Vec4 GetLinearVelocity() const;
    Vec4 GetPosition() const;
    Vec4 GetCenterOfMass() const;
    ZOR::float3x3 GetOrientation() const;
    Vec4 GetRight() const;
    Vec4 GetUp() const;
    Vec4 GetForward() const;
    void SetPosition(const Vec4& position);
    void SetOrientation(const ZOR::float3x3& rotation);
    void SetRotation(const Mat4& rotation);
    // Nothing without a body.
    void ApplyForceAtPoint(const Vec4& force, const Vec4& point);

    RigidBody3D* GetBody() const { return m_body; }

    IntrusiveLink<RigidBodyComponent3D> m_systemLink;
    int m_type = 0;
    Vec4 m_linearVelocity;
    Vec4 m_angularVelocity;
    bool m_allowRotation = false;
    // On, like a body made without a component.
    bool m_hasGravity = true;
    // The components whose bodies share a contact with this one, as of the last update.
    std::vector<RigidBodyComponent3D*> m_touching;

private:
    Transform3D* GetTransform() const;
    // The body's position, else the transform's.
    ZOR::float3 PoseOrigin() const;

    RigidBody3D* m_body = nullptr;
    bool m_pushTransform = false;
};

} // namespace quellor
