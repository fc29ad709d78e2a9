#include "ai/pathfinding/WorldRayQuery.h"

#include "engine/Engine.h"
#include "physics/PhysicsSystem3D.h"

namespace quellor {

bool WorldRayBlocked(const Vec4& origin, const Vec4& direction, float maxDistance)
{
    // Never makes an engine: a graph used on its own finds no physics.
    PhysicsSystem3D* physics = DefaultSystem<PhysicsSystem3D>();
    if (!physics)
        return false;
    const PhysicsRayCastResult3D result = physics->RayCast(ZOR::float3(origin.x, origin.y, origin.z),
                                                           ZOR::float3(direction.x, direction.y, direction.z),
                                                           maxDistance);
    return result.hit != 0;
}

} // namespace quellor
