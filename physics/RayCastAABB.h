#pragma once
#include "physics/Ray3D.h"
#include "renderer/math/float3.h"

namespace quellor {

// Outcode bits of a point against a centred box: which of the six planes it lies on or beyond.
enum OutcodeBits3D : unsigned {
    kOutPosX = 1,
    kOutNegX = 2,
    kOutPosY = 4,
    kOutNegY = 8,
    kOutPosZ = 16,
    kOutNegZ = 32,
};

// Both tests are inclusive: a point on a face has that face's bit.
unsigned ComputeOutcode(const ZOR::float3& point, const ZOR::float3& halfExtents);

// Result of clipping a segment against a centred box.
struct BoxClip3D {
    bool hit = false;
    float tIn = 0.0f;
    float tOut = 1.0f;
    // Index of the entry face in the order +x, -x, +y, -y, +z, -z; -1 when the segment starts
    // inside.
    int entryFace = -1;
};

// Clips the segment s..f (box frame) against the box of half extents e. With inclusiveEntry an
// entry plane at the current t_in still becomes the entry face (the broadphase's box test);
// otherwise it must lie strictly beyond it (the box geometry's test).
BoxClip3D ClipSegmentToBox3D(const ZOR::float3& s, const ZOR::float3& f, const ZOR::float3& e, bool inclusiveEntry);

// Ray against a world box, up to maxDistance. With startInside set, a ray that starts inside
// reports where it leaves the box instead of fraction 0.
bool RayCastAABB(const Ray3D& ray, const ZOR::float3& boxMin, const ZOR::float3& boxMax, float maxDistance,
                 float& fraction, bool startInside);

} // namespace quellor
