#include "physics/CollideShapes3D.h"

#include "engine/BlockPool.h"
#include "physics/Collider3D.h"
#include "physics/ColliderGeometry3D.h"
#include "physics/Contact3D.h"
#include "physics/ContactPoint3D.h"
#include "physics/EpaScratch3D.h"
#include "physics/GjkSimplex3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/QuadColliderGeometry3D.h"
#include "physics/RigidBody3D.h"
#include "physics/SphereColliderGeometry3D.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

namespace quellor {

using namespace physics_math;

namespace {

constexpr int kGjkMaxSteps = 32;
constexpr int kEpaMaxIterations = 32;
// The polytope starts with four vertices and gains one per iteration: the horizon's table
// covers every index.
static_assert(4 + kEpaMaxIterations <= EpaHorizon3D::kTableVertices);
constexpr float kTolerance = 1e-4f;
constexpr float kDegenerate = 1e-8f;

using CollideFunction = bool (*)(Contact3D&, const ColliderGeometry3D&, const ColliderGeometry3D&, BlockPool&,
                                 EpaScratch3D&);

constexpr CollideFunction kTable[5][5] = {
    {CollideSphereSphere, CollideSphereQuad, CollideGjkEpa, CollideGjkEpa, CollideGjkEpa},
    {CollideQuadSphere, CollideGjkEpa, CollideGjkEpa, CollideGjkEpa, CollideGjkEpa},
    {CollideGjkEpa, CollideGjkEpa, CollideGjkEpa, CollideGjkEpa, CollideGjkEpa},
    {CollideGjkEpa, CollideGjkEpa, CollideGjkEpa, CollideGjkEpa, CollideGjkEpa},
    {CollideGjkEpa, CollideGjkEpa, CollideGjkEpa, CollideGjkEpa, CollideGjkEpa},
};

const RigidBody3D* BodyOf(const ColliderGeometry3D& geometry)
{
    const Collider3D* collider = geometry.GetCollider();
    return collider ? collider->m_body : nullptr;
}

// A cleared point from the pool, stored as the contact's only point; null when the pool is dry.
ContactPoint3D* NewPoint(Contact3D& contact, BlockPool& pointPool)
{
    void* block = pointPool.Allocate();
    if (!block)
        return nullptr;
    auto* point = new (block) ContactPoint3D{};
    contact.m_points[0] = point;
    contact.m_pointCount = 1;
    return point;
}

bool Touch(Contact3D& contact, BlockPool& pointPool, const float3& pointA, const float3& pointB,
           const float3& normal, float depth)
{
    ContactPoint3D* point = NewPoint(contact, pointPool);
    if (point) {
        point->m_pointA = pointA;
        point->m_pointB = pointB;
        point->m_normal = normal;
        point->m_depth = depth;
    }
    return true;
}

// Unit tangents perpendicular to the normal: the first across the axis along which the normal
// is smallest, the second across both.
void Tangents(ContactPoint3D& point)
{
    const float3& n = point.m_normal;
    point.m_tangent1 = NormalizedOrSame(n.Cross(SmallestAxis(n)));
    point.m_tangent2 = NormalizedOrSame(n.Cross(point.m_tangent1));
}

// --- EPA ------------------------------------------------------------------------------------

bool FaceAfter(const EpaScratch3D::Face& a, const EpaScratch3D::Face& b)
{
    return a.distance > b.distance; // min-heap on the distance
}

void PushFace(EpaScratch3D& scratch, std::uint32_t i, std::uint32_t j, std::uint32_t k)
{
    const float3& a = scratch.vertices[i].w;
    const float3& b = scratch.vertices[j].w;
    const float3& c = scratch.vertices[k].w;
    EpaScratch3D::Face face;
    face.v[0] = i;
    face.v[1] = j;
    face.v[2] = k;
    face.nearest = ClosestPointOnTriangle(a, b, c);
    face.distance = std::sqrt(LengthSquared(face.nearest));
    face.valid = 1;
    scratch.faces.push_back(face);
    std::push_heap(scratch.faces.begin(), scratch.faces.end(), FaceAfter);
}

// Grows the final GJK simplex to a tetrahedron around the origin.
void EpaExpandSimplex(GjkSimplex3D& simplex)
{
    if (simplex.count == 0)
        simplex.Support(float3(1.0f, 0.0f, 0.0f), simplex.count++);
    if (simplex.count == 1) {
        if (LengthSquared(simplex.W[0]) < kDegenerate) {
            static const float3 kAxes[6] = {float3(1, 0, 0),  float3(-1, 0, 0), float3(0, 1, 0),
                                            float3(0, -1, 0), float3(0, 0, 1),  float3(0, 0, -1)};
            for (const float3& axis : kAxes) {
                simplex.Support(axis, 1);
                if (LengthSquared(simplex.W[1] - simplex.W[0]) >= kDegenerate)
                    break;
            }
        } else {
            simplex.Support(-simplex.W[0], 1);
        }
        simplex.count = 2;
    }
    if (simplex.count == 2) {
        float3 q;
        {
            const float3 ab = simplex.W[1] - simplex.W[0];
            const float lengthSquared = LengthSquared(ab);
            float t = lengthSquared > 0.0f ? -simplex.W[0].Dot(ab) / lengthSquared : 0.0f;
            t = std::clamp(t, 0.0f, 1.0f);
            q = simplex.W[0] + ab * t;
        }
        if (LengthSquared(q) < kDegenerate) {
            const float3 u = simplex.W[1] - simplex.W[0];
            float3 v = u.Cross(SmallestAxis(u));
            // A turn of 60 degrees about u.
            float3x3 turn;
            const float uu = LengthSquared(u);
            if (uu > 1e-5f) {
                const float3 axis = u * (1.0f / std::sqrt(uu));
                const float s = std::sin(0.5235988f);
                turn = RotationFromQuaternion(axis.x * s, axis.y * s, axis.z * s, std::cos(0.5235988f));
            }
            for (int attempt = 0; attempt < 6; ++attempt) {
                simplex.Support(v, 2);
                if (LengthSquared(simplex.W[2]) >= kDegenerate)
                    break;
                v = turn * v;
            }
        } else {
            simplex.Support(-q, 2);
        }
        simplex.count = 3;
    }
    if (simplex.count == 3) {
        const float3 q = ClosestPointOnTriangle(simplex.W[0], simplex.W[1], simplex.W[2]);
        if (LengthSquared(q) < kDegenerate) {
            const float3 n = (simplex.W[1] - simplex.W[0]).Cross(simplex.W[2] - simplex.W[0]);
            simplex.Support(n, 3);
            if (LengthSquared(simplex.W[3]) < kDegenerate)
                simplex.Support(-n, 3);
        } else {
            simplex.Support(-q, 3);
        }
    }
    simplex.count = 4;
    simplex.OrientTetrahedron();
}

bool Epa(Contact3D& contact, GjkSimplex3D& simplex, BlockPool& pointPool, EpaScratch3D& scratch)
{
    scratch.vertices.clear();
    scratch.faces.clear();
    scratch.horizon.Clear();
    for (int i = 0; i < 4; ++i)
        scratch.vertices.push_back({simplex.W[i], simplex.SA[i], simplex.SB[i]});

    const float3 a = simplex.W[1] - simplex.W[0];
    const float3 b = simplex.W[2] - simplex.W[0];
    const float3 c = simplex.W[3] - simplex.W[0];
    if (a.Cross(b).Dot(c) < 0.0f) {
        PushFace(scratch, 0, 1, 2);
        PushFace(scratch, 0, 3, 1);
        PushFace(scratch, 0, 2, 3);
        PushFace(scratch, 1, 3, 2);
    } else {
        PushFace(scratch, 0, 2, 1);
        PushFace(scratch, 0, 1, 3);
        PushFace(scratch, 0, 3, 2);
        PushFace(scratch, 1, 2, 3);
    }

    int iterations = 0;
    EpaScratch3D::Face face{};
    for (;;) {
        while (!scratch.faces.empty() && !scratch.faces.front().valid) {
            std::pop_heap(scratch.faces.begin(), scratch.faces.end(), FaceAfter);
            scratch.faces.pop_back();
        }
        if (scratch.faces.empty())
            return true; // a polytope without faces: contact, but no point to report
        face = scratch.faces.front();
        const float3 v0 = scratch.vertices[face.v[0]].w;
        const float3 v1 = scratch.vertices[face.v[1]].w;
        const float3 v2 = scratch.vertices[face.v[2]].w;
        const float3 n = NormalizedOrSame((v1 - v0).Cross(v2 - v0));

        EpaScratch3D::Vertex x;
        GjkSupport(*simplex.geometryA, *simplex.geometryB, *simplex.bodyA, *simplex.bodyB, n, x.w, x.sa, x.sb);
        const auto xi = static_cast<std::uint32_t>(scratch.vertices.size());
        scratch.vertices.push_back(x);
        ++iterations;

        // Only a support point that gets no farther than the face proves the face lies on the
        // boundary. Two faces met one after the other at the same distance prove nothing: on
        // boxes that rest face on face, symmetric faces inside the difference tie, and stopping
        // there gives a tilted normal that pushes the box sideways.
        if ((x.w - v0).Dot(n) < kTolerance || iterations >= kEpaMaxIterations)
            break;

        for (EpaScratch3D::Face& g : scratch.faces) {
            if (!g.valid)
                continue;
            const float3& g0 = scratch.vertices[g.v[0]].w;
            const float3& g1 = scratch.vertices[g.v[1]].w;
            const float3& g2 = scratch.vertices[g.v[2]].w;
            if ((x.w - g0).Dot((g1 - g0).Cross(g2 - g0)) >= 0.0f) {
                g.valid = 0;
                scratch.horizon.Add(g.v[0], g.v[1]);
                scratch.horizon.Add(g.v[1], g.v[2]);
                scratch.horizon.Add(g.v[2], g.v[0]);
            }
        }
        scratch.horizon.ForEach([&](std::uint32_t from, std::uint32_t to) { PushFace(scratch, xi, from, to); });
        scratch.horizon.Clear();
        if (scratch.faces.empty())
            return true;
    }

    const EpaScratch3D::Vertex& p0 = scratch.vertices[face.v[0]];
    const EpaScratch3D::Vertex& p1 = scratch.vertices[face.v[1]];
    const EpaScratch3D::Vertex& p2 = scratch.vertices[face.v[2]];
    const float3 e0 = p1.w - p0.w, e1 = p2.w - p0.w, e2 = face.nearest - p0.w;
    const float d00 = e0.Dot(e0), d01 = e0.Dot(e1), d11 = e1.Dot(e1);
    const float d20 = e2.Dot(e0), d21 = e2.Dot(e1);
    const float denominator = d00 * d11 - d01 * d01;
    float w1 = 0.0f, w2 = 0.0f;
    if (denominator != 0.0f && std::isfinite(1.0f / denominator)) {
        w1 = (d11 * d20 - d01 * d21) / denominator;
        w2 = (d00 * d21 - d01 * d20) / denominator;
    }
    const float w0 = 1.0f - w1 - w2;

    const float t = face.distance;
    const float3 normal = NormalizedOrSame(t < kTolerance ? e0.Cross(e1) : face.nearest);
    return Touch(contact, pointPool, p0.sa * w0 + p1.sa * w1 + p2.sa * w2, p0.sb * w0 + p1.sb * w1 + p2.sb * w2,
                 normal, t);
}

} // namespace

bool CollideShapes3D(Contact3D& contact, const ColliderGeometry3D& a, const ColliderGeometry3D& b,
                     BlockPool& pointPool, EpaScratch3D& scratch)
{
    const RigidBody3D* bodyA = BodyOf(a);
    const RigidBody3D* bodyB = BodyOf(b);
    if (!bodyA || !bodyB) {
        contact.m_touching = 0;
        return false;
    }

    const std::uint8_t typeA = a.GetType();
    const std::uint8_t typeB = b.GetType();
    // A kind outside the table (the kindless 255 among them) goes through the general test.
    const bool tabled = typeA < 5 && typeB < 5;
    const bool touching = tabled ? kTable[typeA][typeB](contact, a, b, pointPool, scratch)
                                 : CollideGjkEpa(contact, a, b, pointPool, scratch);
    contact.m_touching = touching ? 1 : 0;
    if (!touching)
        return false;
    if (typeA == kColliderSphere || typeB == kColliderSphere)
        contact.m_freshOnly = 1;

    for (int i = 0; i < contact.m_pointCount; ++i) {
        ContactPoint3D* point = contact.m_points[i];
        if (!point)
            continue;
        point->m_localPointA = bodyA->m_inverseRotation * (point->m_pointA - bodyA->m_position);
        point->m_localPointB = bodyB->m_inverseRotation * (point->m_pointB - bodyB->m_position);
        Tangents(*point);
    }
    return true;
}

bool CollideSphereSphere(Contact3D& contact, const ColliderGeometry3D& a, const ColliderGeometry3D& b,
                         BlockPool& pointPool, EpaScratch3D&)
{
    const RigidBody3D* bodyA = BodyOf(a);
    const RigidBody3D* bodyB = BodyOf(b);
    if (!bodyA || !bodyB)
        return false;
    const auto& sphereA = static_cast<const SphereColliderGeometry3D&>(a);
    const auto& sphereB = static_cast<const SphereColliderGeometry3D&>(b);
    const float3 centreA = bodyA->m_position + bodyA->m_rotation * sphereA.m_center;
    const float3 centreB = bodyB->m_position + bodyB->m_rotation * sphereB.m_center;
    const float3 d = centreB - centreA;
    const float reach = sphereA.m_radius + sphereB.m_radius;
    const float distanceSquared = LengthSquared(d);
    if (distanceSquared > reach * reach)
        return false;

    const float distance = std::sqrt(distanceSquared);
    const float3 n = distance > 0.0f ? d * (1.0f / distance) : d; // coincident centres: zero normal
    contact.m_freshOnly = 1;
    return Touch(contact, pointPool, centreA + n * sphereA.m_radius, centreB - n * sphereB.m_radius, n,
                 reach - distance);
}

bool CollideSphereQuad(Contact3D& contact, const ColliderGeometry3D& a, const ColliderGeometry3D& b,
                       BlockPool& pointPool, EpaScratch3D&)
{
    const RigidBody3D* bodyA = BodyOf(a);
    const RigidBody3D* bodyB = BodyOf(b);
    if (!bodyA || !bodyB)
        return false;
    const auto& sphere = static_cast<const SphereColliderGeometry3D&>(a);
    const auto& quad = static_cast<const QuadColliderGeometry3D&>(b);

    const float3 centre = bodyA->m_position + bodyA->m_rotation * sphere.m_center;
    const float3 x = quad.m_inverseRotation * (bodyB->m_inverseRotation * (centre - bodyB->m_position) - quad.m_center);
    const float3 nearest(std::clamp(x.x, -quad.m_halfWidth, quad.m_halfWidth), 0.0f,
                         std::clamp(x.z, -quad.m_halfHeight, quad.m_halfHeight));
    const float dx = nearest.x - x.x;
    const float dz = nearest.z - x.z;
    const float remaining = sphere.m_radius * sphere.m_radius - (dx * dx + dz * dz + x.y * x.y);
    if (!(remaining >= 0.0f))
        return false;

    const float3 point = bodyB->m_position + bodyB->m_rotation * (quad.m_center + quad.m_rotation * nearest);
    const float3 normal = bodyB->m_rotation * (quad.m_rotation * NormalizedOrSame(float3(dx, -x.y, dz)));
    contact.m_freshOnly = 1;
    return Touch(contact, pointPool, point, point, normal, std::sqrt(remaining));
}

bool CollideQuadSphere(Contact3D& contact, const ColliderGeometry3D& a, const ColliderGeometry3D& b,
                       BlockPool& pointPool, EpaScratch3D& scratch)
{
    const bool touching = CollideSphereQuad(contact, b, a, pointPool, scratch);
    for (int i = 0; i < contact.m_pointCount; ++i) {
        ContactPoint3D* point = contact.m_points[i];
        if (!point)
            continue;
        point->m_normal = -point->m_normal;
        std::swap(point->m_pointA, point->m_pointB);
        std::swap(point->m_localPointA, point->m_localPointB);
    }
    return touching;
}

bool CollideGjkEpa(Contact3D& contact, const ColliderGeometry3D& a, const ColliderGeometry3D& b,
                   BlockPool& pointPool, EpaScratch3D& scratch)
{
    const RigidBody3D* bodyA = BodyOf(a);
    const RigidBody3D* bodyB = BodyOf(b);
    if (!bodyA || !bodyB)
        return false;

    GjkSimplex3D simplex(a, b, *bodyA, *bodyB);
    for (int step = 1;; ++step) {
        const int result = simplex.Step();
        if (result == GjkSimplex3D::kSeparated)
            return false;
        if (result == GjkSimplex3D::kOverlapping)
            break;
        if (step >= kGjkMaxSteps)
            return false;
    }
    EpaExpandSimplex(simplex);
    return Epa(contact, simplex, pointPool, scratch);
}

} // namespace quellor
