#include "physics/GjkSimplex3D.h"

#include "physics/Collider3D.h"
#include "physics/ColliderGeometry3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/RigidBody3D.h"

#include <cfloat>
#include <utility>

namespace quellor {

using namespace physics_math;

namespace {

constexpr int kFaces[4][3] = {{0, 1, 2}, {0, 2, 3}, {0, 3, 1}, {1, 3, 2}};

float3 ClosestPointOnSegment(const float3& a, const float3& b, float& t)
{
    const float3 ab = b - a;
    const float lengthSquared = LengthSquared(ab);
    t = lengthSquared > 0.0f ? -a.Dot(ab) / lengthSquared : 0.0f;
    if (t < 0.0f)
        t = 0.0f;
    else if (t > 1.0f)
        t = 1.0f;
    return a + ab * t;
}

// Whether the origin lies on the outer side of face (x, y, z), beyond the tolerance.
float OuterSide(const float3& x, const float3& y, const float3& z)
{
    return (y - x).Cross(z - x).Dot(-x);
}

float3 ColliderCentre(const ColliderGeometry3D& geometry, const RigidBody3D& body)
{
    const Collider3D* collider = geometry.GetCollider();
    const float3 local = collider ? collider->m_centerOfMass : float3();
    return body.m_position + body.m_rotation * local;
}

} // namespace

void GjkSupport(const ColliderGeometry3D& a, const ColliderGeometry3D& b, const RigidBody3D& bodyA,
                const RigidBody3D& bodyB, const ZOR::float3& d, ZOR::float3& w, ZOR::float3& sa, ZOR::float3& sb)
{
    sa = bodyA.m_position + bodyA.m_rotation * a.Support(bodyA.m_inverseRotation * d);
    sb = bodyB.m_position + bodyB.m_rotation * b.Support(bodyB.m_inverseRotation * -d);
    w = sa - sb;
}

ZOR::float3 ClosestPointOnTriangle(const ZOR::float3& a, const ZOR::float3& b, const ZOR::float3& c, unsigned* keep)
{
    unsigned region = 7;
    float3 result;
    const float3 ab = b - a, ac = c - a;
    const float d1 = ab.Dot(-a), d2 = ac.Dot(-a);
    const float d3 = ab.Dot(-b), d4 = ac.Dot(-b);
    const float d5 = ab.Dot(-c), d6 = ac.Dot(-c);
    const float vc = d1 * d4 - d3 * d2;
    const float vb = d5 * d2 - d1 * d6;
    const float va = d3 * d6 - d5 * d4;
    if (d1 <= 0.0f && d2 <= 0.0f) {
        region = 1;
        result = a;
    } else if (d3 >= 0.0f && d4 <= d3) {
        region = 2;
        result = b;
    } else if (vc <= 0.0f && d1 >= 0.0f && d3 <= 0.0f) {
        region = 3;
        result = a + ab * (d1 / (d1 - d3));
    } else if (d6 >= 0.0f && d5 <= d6) {
        region = 4;
        result = c;
    } else if (vb <= 0.0f && d2 >= 0.0f && d6 <= 0.0f) {
        region = 5;
        result = a + ac * (d2 / (d2 - d6));
    } else if (va <= 0.0f && (d4 - d3) >= 0.0f && (d5 - d6) >= 0.0f) {
        region = 6;
        result = b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
    } else {
        // Inside: the origin's projection onto the plane. Built from the barycentric weights
        // instead, the point of a long thin triangle strays by far more than the tolerances,
        // and GJK then takes a shallow overlap for a separation.
        const float3 normal = ab.Cross(ac);
        const float normalSquared = LengthSquared(normal);
        if (normalSquared != 0.0f && std::isfinite(1.0f / normalSquared)) {
            result = normal * (a.Dot(normal) / normalSquared);
        } else {
            // A triangle without area: the nearest of its three edges.
            float t = 0.0f;
            const float3 pab = ClosestPointOnSegment(a, b, t);
            const float3 pac = ClosestPointOnSegment(a, c, t);
            const float3 pbc = ClosestPointOnSegment(b, c, t);
            result = pab;
            region = 3;
            if (LengthSquared(pac) < LengthSquared(result)) {
                result = pac;
                region = 5;
            }
            if (LengthSquared(pbc) < LengthSquared(result)) {
                result = pbc;
                region = 6;
            }
        }
    }
    if (keep)
        *keep = region;
    return result;
}

GjkSimplex3D::GjkSimplex3D(const ColliderGeometry3D& a, const ColliderGeometry3D& b, const RigidBody3D& bodyA_,
                           const RigidBody3D& bodyB_)
    : previousDistance(FLT_MAX), currentDistance(FLT_MAX), geometryA(&a), geometryB(&b), bodyA(&bodyA_),
      bodyB(&bodyB_)
{
}

int GjkSimplex3D::Step()
{
    UpdateDistance();
    if (count != 0 && currentDistance <= 1e-8f)
        return kOverlapping;
    if (!(previousDistance > currentDistance) && count != 0)
        return kSeparated;
    previousDistance = currentDistance;
    Reduce();
    return AddSupportPoint();
}

void GjkSimplex3D::UpdateDistance()
{
    float t = 0.0f;
    switch (count) {
    case 1:
        currentDistance = LengthSquared(W[0]);
        break;
    case 2:
        currentDistance = LengthSquared(ClosestPointOnSegment(W[0], W[1], t));
        break;
    case 3:
        currentDistance = LengthSquared(ClosestPointOnTriangle(W[0], W[1], W[2]));
        break;
    case 4: {
        float best = 0.0f;
        bool found = false;
        for (const auto& face : kFaces) {
            const float3& x = W[face[0]];
            const float3& y = W[face[1]];
            const float3& z = W[face[2]];
            if (!(OuterSide(x, y, z) > 0.0f))
                continue;
            const float distance = LengthSquared(ClosestPointOnTriangle(x, y, z));
            if (!found || distance < best) {
                best = distance;
                found = true;
            }
        }
        currentDistance = found ? best : 0.0f;
        break;
    }
    default:
        break;
    }
}

void GjkSimplex3D::Keep(unsigned mask)
{
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if ((mask & (1u << i)) == 0)
            continue;
        if (kept != i) {
            W[kept] = W[i];
            SA[kept] = SA[i];
            SB[kept] = SB[i];
        }
        ++kept;
    }
    count = static_cast<std::uint8_t>(kept);
}

void GjkSimplex3D::Reduce()
{
    switch (count) {
    case 2: {
        const float3 ab = W[1] - W[0];
        const float lengthSquared = LengthSquared(ab);
        const float t = lengthSquared > 0.0f ? -W[0].Dot(ab) / lengthSquared : 0.0f;
        if (t > 1.0f)
            Keep(2u);
        break;
    }
    case 3: {
        unsigned mask = 7;
        ClosestPointOnTriangle(W[0], W[1], W[2], &mask);
        Keep(mask);
        break;
    }
    case 4: {
        unsigned bestMask = 15;
        float best = 0.0f;
        bool found = false;
        for (const auto& face : kFaces) {
            const float3& x = W[face[0]];
            const float3& y = W[face[1]];
            const float3& z = W[face[2]];
            if (!(OuterSide(x, y, z) > -1e-5f))
                continue;
            unsigned local = 7;
            const float distance = LengthSquared(ClosestPointOnTriangle(x, y, z, &local));
            if (found && !(distance < best))
                continue;
            found = true;
            best = distance;
            bestMask = 0;
            for (int k = 0; k < 3; ++k) {
                if (local & (1u << k))
                    bestMask |= 1u << face[k];
            }
        }
        Keep(bestMask);
        break;
    }
    default:
        break;
    }
}

void GjkSimplex3D::Support(const ZOR::float3& d, int index)
{
    GjkSupport(*geometryA, *geometryB, *bodyA, *bodyB, d, W[index], SA[index], SB[index]);
}

void GjkSimplex3D::SwapVertices(int i, int j)
{
    std::swap(W[i], W[j]);
    std::swap(SA[i], SA[j]);
    std::swap(SB[i], SB[j]);
}

void GjkSimplex3D::OrientTetrahedron()
{
    if ((W[0] - W[3]).Dot((W[1] - W[3]).Cross(W[2] - W[3])) < 0.0f)
        SwapVertices(0, 1);
}

int GjkSimplex3D::AddSupportPoint()
{
    float3 d;
    switch (count) {
    case 0:
        d = ColliderCentre(*geometryB, *bodyB) - ColliderCentre(*geometryA, *bodyA);
        // Coincident centres give no direction at all; any axis will do to start the search,
        // and without one two shapes placed at one spot would be reported apart.
        if (LengthSquared(d) < 1e-10f)
            d = float3(1.0f, 0.0f, 0.0f);
        break;
    case 1:
        d = -W[0];
        break;
    case 2: {
        const float3 ab = W[1] - W[0];
        const float lengthSquared = LengthSquared(ab);
        const float t = lengthSquared > 0.0f ? -W[0].Dot(ab) / lengthSquared : 0.0f;
        d = -(W[0] + ab * t);
        break;
    }
    case 3:
        d = -ClosestPointOnTriangle(W[0], W[1], W[2]);
        break;
    default:
        return kSeparated;
    }
    if (count != 0 && LengthSquared(d) < 1e-10f)
        return kSeparated;
    d = NormalizedOrSame(d);

    Support(d, count);
    const float3& added = W[count];
    for (int i = 0; i < count; ++i) {
        if (W[i].x == added.x && W[i].y == added.y && W[i].z == added.z)
            return kSeparated;
    }
    ++count;
    if (1e-4f >= added.Dot(d))
        return kSeparated;
    if (count == 4)
        OrientTetrahedron();
    return kContinue;
}

} // namespace quellor
