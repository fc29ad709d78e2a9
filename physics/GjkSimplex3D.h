#pragma once
#include "renderer/math/float3.h"

#include <cstdint>

namespace quellor {

class ColliderGeometry3D;
class RigidBody3D;

// The support point of the Minkowski difference A - B along the world direction d: sa on A
// along d, sb on B against it, w = sa - sb.
void GjkSupport(const ColliderGeometry3D& a, const ColliderGeometry3D& b, const RigidBody3D& bodyA,
                const RigidBody3D& bodyB, const ZOR::float3& d, ZOR::float3& w, ZOR::float3& sa, ZOR::float3& sb);

// The point of triangle abc nearest the origin. keep receives which corners span the feature
// it lies on (bit 0 a, bit 1 b, bit 2 c); regions are tried in the order vertex a, vertex b,
// edge ab, vertex c, edge ac, edge bc, face.
ZOR::float3 ClosestPointOnTriangle(const ZOR::float3& a, const ZOR::float3& b, const ZOR::float3& c,
                                   unsigned* keep = nullptr);

// The state of one GJK run on two geometries whose bodies are given.
class GjkSimplex3D {
public:
    // Step results.
    static constexpr int kSeparated = 0;
    static constexpr int kOverlapping = 1;
    static constexpr int kContinue = 2;

    GjkSimplex3D(const ColliderGeometry3D& a, const ColliderGeometry3D& b, const RigidBody3D& bodyA,
                 const RigidBody3D& bodyB);

    int Step();
    // The squared distance of the simplex from the origin (unchanged for an empty simplex).
    void UpdateDistance();
    // Keeps the smallest part of the simplex whose Voronoi region holds the origin.
    void Reduce();
    int AddSupportPoint();

    // Stores the support point along d in slot index.
    void Support(const ZOR::float3& d, int index);
    // Makes (W0 - W3) . ((W1 - W3) x (W2 - W3)) non-negative by swapping vertices 0 and 1.
    void OrientTetrahedron();
    void SwapVertices(int i, int j);

    ZOR::float3 W[4];
    ZOR::float3 SA[4];
    ZOR::float3 SB[4];
    std::uint8_t count = 0;
    float previousDistance;
    float currentDistance;
    const ColliderGeometry3D* geometryA;
    const ColliderGeometry3D* geometryB;
    const RigidBody3D* bodyA;
    const RigidBody3D* bodyB;

private:
    void Keep(unsigned mask);
};

} // namespace quellor
