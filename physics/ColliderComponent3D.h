#pragma once
// Base of the components that give an entity's rigid body a collision shape. It holds the
// gameplay tags, the sensor flag, an optional mass override, the material values and the
// filter. Once a frame, before the physics steps, the physics system asks it to attach a new
// or outdated collider to the body of the entity's RigidBodyComponent3D and to copy the
// collider's contacts into its records, which gameplay reads. Subclasses describe the shape.
#include "engine/Component.h"
#include "engine/IntrusiveList.h"
#include "engine/reflection/BuiltinTypes.h"
#include "physics/CollisionFilter3D.h"
#include "physics/ContactRecord3D.h"
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

#include <cstdint>
#include <vector>

namespace quellor {

class Collider3D;
class RigidBody3D;

// Gameplay tags of a collider; level data and gameplay give them their values.
enum EnemyType : std::int32_t {};
enum EnvironmentType : std::int32_t {};
QUELLOR_BUILTIN_ENUM(EnemyType, EnemyType)
QUELLOR_BUILTIN_ENUM(EnvironmentType, EnvironmentType)

class ColliderComponent3D : public Component {
    QUELLOR_REFLECT_KEYED(ColliderComponent3D)

    ColliderComponent3D() = default;
    ColliderComponent3D(const ColliderComponent3D&) = delete;
    ColliderComponent3D& operator=(const ColliderComponent3D&) = delete;
    ~ColliderComponent3D() override;

    // The base has no shape to copy.
    Component* Clone() const override;
    // Registers with the space's physics system; the collider is attached by the next sync.
    // Without a physics system the component stays inert.
    void Initialize() override;
    // Detaches the collider from its body and unregisters.
    void Uninitialize() override;

    // Builds this component's shape on the body; null for the base, which has none.
    virtual Collider3D* BuildCollider(RigidBody3D* body);

    // Attaches the collider when it is missing or outdated and the entity's rigid body exists,
    // then copies the collider's contacts into the records.
    virtual void SyncContacts();

    // Stores the mass and hands it to an attached collider; only a mass above 0 overrides the
    // computed one when a collider is attached later.
    void SetMass(float mass);
    // Stores the flag and sets an attached collider's; the body's mass is not recomputed.
    ColliderComponent3D* SetSensor(bool sensor);
    void SetEnemyType(EnemyType type);
    void SetPType(int type);
    void SetEnvironmentType(EnvironmentType type);
    // The attached collider's flag, or m_isSensor without one.
    bool IsSensor() const;

    Collider3D* GetCollider() const { return m_collider; }
    bool IsBuilt() const { return m_built; }
    // The contacts of the collider as the last steps left them, from this collider's side.
    const std::vector<ContactRecord3D>& GetContactRecords() const { return m_records; }
    // The collider went with its body or its world: nothing to detach, a new one is needed.
    void ForgetCollider();

    int m_eType = 0;
    int m_pType = 0;
    int m_enviroType = 0;
    bool m_isSensor = false;
    float m_mass = -1.0f;
    IntrusiveLink<ColliderComponent3D> m_systemLink;

protected:
    // Shape setters call this so that the next sync builds the collider anew.
    void MarkForRebuild() { m_built = false; }
    // A shape setter's whole work: store, mark for rebuild, return the component for chaining.
    template <class Self, class Value>
    Self* Reshape(Value& field, const Value& value)
    {
        field = value;
        MarkForRebuild();
        return static_cast<Self*>(this);
    }
    // The scales of the entity's Transform3D as they are (signs kept); (1, 1, 1) for an entity
    // without one.
    ZOR::float3 GetEntityScale() const;
    // Rz·Ry·Rx of the three angles in radians: x is applied first.
    static ZOR::float3x3 Rotation(float x, float y, float z);

    Collider3D* m_collider = nullptr;
    bool m_built = false;
    float m_density = 1.0f;
    float m_restitution = 0.4f;
    float m_friction = 1.0f;
    CollisionFilter3D m_filter;

private:
    std::vector<ContactRecord3D> m_records;
};

} // namespace quellor
