#include "physics/PolyhedronColliderGeometry3D.h"

#include "physics/MassProperties3D.h"
#include "physics/PhysicsDebugDraw3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/RigidBody3D.h"

#include <cmath>
#include <cstring>

namespace quellor {

using namespace physics_math;

PolyhedronColliderGeometry3D::PolyhedronColliderGeometry3D(const HullMesh3D& hull)
    : ColliderGeometry3D(kColliderPolyhedron), m_hull(hull)
{
}

ZOR::float3 PolyhedronColliderGeometry3D::Support(const ZOR::float3& direction) const
{
    return m_hull.Support(direction);
}

bool PolyhedronColliderGeometry3D::RayCast(const Ray3D& ray, float maxDistance, float& fraction,
                                           ZOR::float3& normal) const
{
    const BodyPose3D pose = Pose();
    const ZOR::float3 origin = pose.inverseRotation * (ray.origin - pose.position);
    const ZOR::float3 segment = (pose.inverseRotation * ray.direction) * maxDistance;
    float tIn = 0.0f;
    float tOut = 1.0f;
    // Stays zero unless the ray enters through a face (it may start inside).
    ZOR::float3 hitNormal;
    const auto& faces = m_hull.Faces();
    for (std::size_t f = 0; f < faces.size(); ++f) {
        if (!faces[f].inUse)
            continue;
        ZOR::float3 a, b, c;
        m_hull.FaceCorners(static_cast<std::int32_t>(f), a, b, c);
        const ZOR::float3 n = (b - a).Cross(c - a);
        const float den = n.Dot(segment);
        const float num = n.Dot(origin - a);
        if (std::fabs(den) < 1e-5f && num > 0.0f)
            return false;
        if (den < -1e-5f) {
            // Entering through this face's plane.
            const float t = -num / den;
            if (t > tIn) {
                tIn = t;
                hitNormal = n;
            }
        } else if (den > 1e-5f) {
            const float t = -num / den;
            if (t <= tOut)
                tOut = t;
        }
        if (tIn > tOut)
            return false;
    }
    fraction = tIn;
    normal = NormalizedOrSame(pose.rotation * hitNormal);
    return true;
}

bool PolyhedronColliderGeometry3D::ContainsPoint(const ZOR::float3& worldPoint) const
{
    const BodyPose3D pose = Pose();
    const ZOR::float3 x = pose.inverseRotation * (worldPoint - pose.position);
    const auto& faces = m_hull.Faces();
    for (std::size_t f = 0; f < faces.size(); ++f) {
        if (!faces[f].inUse)
            continue;
        ZOR::float3 a, b, c;
        m_hull.FaceCorners(static_cast<std::int32_t>(f), a, b, c);
        const ZOR::float3 n = (b - a).Cross(c - a);
        if (n.Dot(x - a) >= 0.0f)
            return false;
    }
    return true;
}

void PolyhedronColliderGeometry3D::ComputeMassProperties(float density, float& mass, ZOR::float3x3& inertia,
                                                         ZOR::float3& centerOfMass) const
{
    const ZOR::float3 r = m_hull.Centroid();
    const auto& faces = m_hull.Faces();
    float sum = 0.0f;
    ZOR::float3 weighted;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        if (!faces[f].inUse)
            continue;
        ZOR::float3 a, b, c;
        m_hull.FaceCorners(static_cast<std::int32_t>(f), a, b, c);
        const float d = std::fabs((a - r).Dot((b - r).Cross(c - r)));
        sum += d;
        weighted += (a + b + c + r) * (d * 0.25f);
    }

    // A flat or faceless hull would divide by zero here; a NaN centre would then move every
    // collider of its body.
    if (!(sum >= 1e-12f)) {
        mass = 0.0f;
        inertia = ZeroMatrix();
        centerOfMass = r;
        return;
    }

    const ZOR::float3 center = weighted / sum;
    centerOfMass = center;
    mass = density * sum * 0.16666667f;

    ZOR::float3x3 total = ZeroMatrix();
    for (std::size_t f = 0; f < faces.size(); ++f) {
        if (!faces[f].inUse)
            continue;
        ZOR::float3 a, b, c;
        m_hull.FaceCorners(static_cast<std::int32_t>(f), a, b, c);
        total = Add(total, TetrahedronInertia(r, a, b, c, center));
    }
    // The sum is the solid's inertia at unit density, of mass S / 6; the body expects it per
    // unit of mass like every other kind.
    inertia = Scaled(total, 1.0f / (sum * 0.16666667f));
}

void PolyhedronColliderGeometry3D::ComputeWorldAABB(const RigidBody3D& body, ZOR::float3& worldMin,
                                                    ZOR::float3& worldMax) const
{
    // Compared bit for bit: the box is a function of exactly these and the hull.
    BoundsOfPose& last = m_lastBounds;
    if (last.known && std::memcmp(&last.position, &body.m_position, sizeof(ZOR::float3)) == 0 &&
        std::memcmp(&last.rotation, &body.m_rotation, sizeof(ZOR::float3x3)) == 0 &&
        std::memcmp(&last.inverseRotation, &body.m_inverseRotation, sizeof(ZOR::float3x3)) == 0) {
        worldMin = last.min;
        worldMax = last.max;
        return;
    }
    for (int i = 0; i < 3; ++i) {
        ZOR::float3 axis;
        SetComponent(axis, i, 1.0f);
        const ZOR::float3 localAxis = body.m_inverseRotation * axis;
        const ZOR::float3 high = body.m_position + body.m_rotation * m_hull.Support(localAxis);
        const ZOR::float3 low = body.m_position + body.m_rotation * m_hull.Support(-localAxis);
        SetComponent(worldMax, i, Component(high, i));
        SetComponent(worldMin, i, Component(low, i));
    }
    last = BoundsOfPose{true, body.m_position, body.m_rotation, body.m_inverseRotation, worldMin, worldMax};
}

void PolyhedronColliderGeometry3D::DebugDraw(PhysicsDebugDraw3D& drawer, std::uint32_t colour) const
{
    const BodyPose3D pose = Pose();
    const auto& faces = m_hull.Faces();
    const auto& edges = m_hull.HalfEdges();
    const auto& vertices = m_hull.Vertices();
    auto world = [&](std::int32_t vertex) {
        return pose.position + pose.rotation * vertices[static_cast<std::size_t>(vertex)].position;
    };
    for (const HullMesh3D::Face& face : faces) {
        if (!face.inUse || face.first < 0)
            continue;
        // A face whose loop was relinked by a later face sharing its directed edge (a surface
        // that is not a closed two-manifold) may never come back to its first half-edge, so
        // the walk is bounded.
        std::int32_t e = face.first;
        for (std::size_t step = 0; step < edges.size(); ++step) {
            const HullMesh3D::HalfEdge& edge = edges[static_cast<std::size_t>(e)];
            if (edge.next < 0)
                break;
            const HullMesh3D::HalfEdge& next = edges[static_cast<std::size_t>(edge.next)];
            if (edge.target >= 0 && next.target >= 0)
                drawer.DrawLine(world(edge.target), world(next.target), colour);
            e = edge.next;
            if (e == face.first)
                break;
        }
    }
}

} // namespace quellor
