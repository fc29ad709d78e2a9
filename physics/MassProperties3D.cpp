#include "physics/MassProperties3D.h"

#include "physics/PhysicsMath3D.h"

#include <cmath>

namespace quellor {

using namespace physics_math;

ZOR::float3x3 TetrahedronInertia(const ZOR::float3& r, const ZOR::float3& a, const ZOR::float3& b,
                                 const ZOR::float3& c, const ZOR::float3& x)
{
    const ZOR::float3x3 edges = FromColumns(a - r, b - r, c - r);
    const float d = std::fabs(Determinant(edges));

    // Covariance of the canonical tetrahedron (0, e1, e2, e3) at unit density.
    const float diag = 0.016666668f;
    const float off = 0.008333334f;
    const ZOR::float3x3 canonical(diag, off, off, off, diag, off, off, off, diag);
    const ZOR::float3x3 covariance = Scaled(edges * canonical * edges.Transpose(), d);

    const float mass = d / 6.0f;
    const ZOR::float3 centroid = (r + a + b + c) * 0.25f;
    const ZOR::float3 shift = r - x;
    const ZOR::float3 toCentroid = centroid - r;
    const ZOR::float3x3 moved =
        Add(covariance, Scaled(Add(Add(Outer(shift, toCentroid), Outer(toCentroid, shift)), Outer(shift, shift)), mass));

    return Add(Scaled(ZOR::float3x3(), Trace(moved)), Scaled(moved, -1.0f));
}

ZOR::float3x3 ParallelAxis(const ZOR::float3x3& inertia, const ZOR::float3& offset, float mass)
{
    const ZOR::float3x3 shift = Add(Scaled(ZOR::float3x3(), LengthSquared(offset)), Scaled(Outer(offset, offset), -1.0f));
    return Add(inertia, Scaled(shift, mass));
}

} // namespace quellor
