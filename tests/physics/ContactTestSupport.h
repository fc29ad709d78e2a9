#pragma once
#include "WorldTestSupport.h"

#include "physics/Contact3D.h"
#include "physics/ContactListener3D.h"
#include "physics/ContactPoint3D.h"

#include <new>
#include <string>
#include <vector>

namespace quellor::test {

// Writes every event as a line, "PointAdded 0x..." and so on, so order can be checked.
class RecordingListener : public ContactListener3D {
public:
    explicit RecordingListener(std::vector<std::string>& log) : m_log(log) {}

    void BodyPairBegin(RigidBody3D*, RigidBody3D*) override { m_log.push_back("BodyPairBegin"); }
    void ContactBegin(Collider3D*, Collider3D*, Contact3D*) override { m_log.push_back("ContactBegin"); }
    void PointAdded(Collider3D*, Collider3D*, ContactPoint3D* point) override
    {
        m_log.push_back("PointAdded");
        added.push_back(point);
    }
    void BodyPairEnd(RigidBody3D*, RigidBody3D*) override { m_log.push_back("BodyPairEnd"); }
    void ContactEnd(Collider3D*, Collider3D*, Contact3D*) override { m_log.push_back("ContactEnd"); }
    void PointRemoved(Collider3D*, Collider3D*, ContactPoint3D* point) override
    {
        m_log.push_back("PointRemoved");
        removed.push_back(point);
    }

    std::vector<ContactPoint3D*> added;
    std::vector<ContactPoint3D*> removed;

private:
    std::vector<std::string>& m_log;
};

struct PointSpec {
    ZOR::float3 pointA;
    ZOR::float3 pointB;
    ZOR::float3 normal{0.0f, 1.0f, 0.0f};
    float depth = 0.0f;
};

// A new contact of a and b from the world's pools with the given points, the body-frame points
// taken from the bodies' current poses, as the narrow phase would leave it.
inline Contact3D* NewContact(PhysicsWorld3D& world, Collider3D* a, Collider3D* b, const std::vector<PointSpec>& points,
                             bool freshOnly = false)
{
    auto* contact = new (world.GetContactPool().Allocate()) Contact3D(a, b);
    contact->m_freshOnly = freshOnly ? 1 : 0;
    contact->m_touching = 1;
    for (const PointSpec& spec : points) {
        auto* point = new (world.GetPointPool().Allocate()) ContactPoint3D{};
        point->m_pointA = spec.pointA;
        point->m_pointB = spec.pointB;
        point->m_normal = spec.normal;
        point->m_tangent1 = ZOR::float3(1, 0, 0);
        point->m_tangent2 = ZOR::float3(0, 0, 1);
        point->m_depth = spec.depth;
        const RigidBody3D& bodyA = *a->m_body;
        const RigidBody3D& bodyB = *b->m_body;
        point->m_localPointA = bodyA.m_inverseRotation * (spec.pointA - bodyA.m_position);
        point->m_localPointB = bodyB.m_inverseRotation * (spec.pointB - bodyB.m_position);
        contact->m_points[contact->m_pointCount++] = point;
    }
    return contact;
}

// Hands the contact to the manager as the world step does, giving it back when merged.
inline bool Offer(PhysicsWorld3D& world, Contact3D* contact)
{
    const float d = world.GetSettings().m_pointMatchingDistance;
    if (world.GetContactManager().AddOrUpdate(contact, d * d))
        return true;
    contact->ReleasePoints(world.GetPointPool());
    contact->~Contact3D();
    world.GetContactPool().Free(contact);
    return false;
}

} // namespace quellor::test
