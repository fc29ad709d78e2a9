#pragma once
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"

namespace quellor {

// Inertia of the solid tetrahedron (r, a, b, c) at unit density, about the point x.
ZOR::float3x3 TetrahedronInertia(const ZOR::float3& r, const ZOR::float3& a, const ZOR::float3& b,
                                 const ZOR::float3& c, const ZOR::float3& x);

// I + m (|d|² E - d dᵀ): the inertia I of a body of mass m, taken about a point displaced by d
// from the point I refers to.
ZOR::float3x3 ParallelAxis(const ZOR::float3x3& inertia, const ZOR::float3& offset, float mass);

} // namespace quellor
