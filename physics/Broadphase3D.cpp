#include "physics/Broadphase3D.h"

namespace quellor {

Broadphase3D::Broadphase3D() : m_pairPool(sizeof(ColliderPair3D), 4096, 1, alignof(ColliderPair3D)) {}

Broadphase3D::~Broadphase3D() = default;

void Broadphase3D::EndStep(const TimeStep3D&) {}

void Broadphase3D::DebugDraw(PhysicsDebugDraw3D&) {}

bool Broadphase3D::Contains(const ZOR::float3& boxMin, const ZOR::float3& boxMax, const ZOR::float3& point)
{
    return point.x >= boxMin.x && point.x <= boxMax.x && point.y >= boxMin.y && point.y <= boxMax.y &&
           point.z >= boxMin.z && point.z <= boxMax.z;
}

} // namespace quellor
