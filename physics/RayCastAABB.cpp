#include "physics/RayCastAABB.h"

#include "physics/PhysicsMath3D.h"

namespace quellor {

using namespace physics_math;

unsigned ComputeOutcode(const ZOR::float3& point, const ZOR::float3& halfExtents)
{
    unsigned code = 0;
    for (int i = 0; i < 3; ++i) {
        const float x = Component(point, i);
        const float e = Component(halfExtents, i);
        if (x >= e)
            code |= 1u << (2 * i);
        if (-e >= x)
            code |= 2u << (2 * i);
    }
    return code;
}

BoxClip3D ClipSegmentToBox3D(const ZOR::float3& s, const ZOR::float3& f, const ZOR::float3& e, bool inclusiveEntry)
{
    BoxClip3D clip;
    const unsigned codeS = ComputeOutcode(s, e);
    const unsigned codeF = ComputeOutcode(f, e);
    if ((codeS & codeF) != 0)
        return clip;

    for (int i = 0; i < 3; ++i) {
        const float si = Component(s, i);
        const float fi = Component(f, i);
        const float ei = Component(e, i);
        for (int side = 0; side < 2; ++side) {
            const unsigned bit = (1u << side) << (2 * i);
            const float plane = side == 0 ? ei : -ei;
            // The planes a segment does not cross are never divided by, so a segment lying
            // in a plane never makes 0/0 here.
            if ((codeS & bit) != 0) {
                const float t = (plane - si) / (fi - si);
                if (inclusiveEntry ? t >= clip.tIn : t > clip.tIn) {
                    clip.tIn = t;
                    clip.entryFace = 2 * i + side;
                }
            } else if ((codeF & bit) != 0) {
                const float t = (plane - si) / (fi - si);
                if (t <= clip.tOut)
                    clip.tOut = t;
            }
        }
    }
    clip.hit = clip.tOut + 1e-5f > clip.tIn;
    return clip;
}

bool RayCastAABB(const Ray3D& ray, const ZOR::float3& boxMin, const ZOR::float3& boxMax, float maxDistance,
                 float& fraction, bool startInside)
{
    const ZOR::float3 centre = (boxMin + boxMax) * 0.5f;
    const ZOR::float3 halfExtents = (boxMax - boxMin) * 0.5f;
    const ZOR::float3 s = ray.origin - centre;
    const ZOR::float3 f = ray.origin + ray.direction * maxDistance - centre;
    const unsigned codeS = ComputeOutcode(s, halfExtents);
    const unsigned codeF = ComputeOutcode(f, halfExtents);
    if ((codeS & codeF) != 0)
        return false;
    const BoxClip3D clip = ClipSegmentToBox3D(s, f, halfExtents, true);
    if (startInside && clip.tIn == 0.0f) {
        fraction = clip.tOut;
        return true;
    }
    if (!clip.hit)
        return false;
    fraction = clip.tIn;
    return true;
}

} // namespace quellor
