#include "physics/RegisterPhysicsTypes.h"

#include <mutex>

#include "engine/reflection/MetaRegistrar.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/ColliderComponent3D.h"
#include "physics/IslandPhysics.h"
#include "physics/MassOverrideComponent.h"
#include "physics/MeshColliderComponent3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/QuadColliderComponent3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "physics/SphereColliderComponent3D.h"
#include "physics/WaterPhysicsBounds.h"
#include "physics/WaterPhysicsComponent.h"

namespace quellor {

void RegisterPhysicsTypes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterEngineTypes();
        MetaOf<PhysicsSystem3D>();
        MetaOf<RigidBodyComponent3D>();
        MetaOf<ColliderComponent3D>();
        MetaOf<SphereColliderComponent3D>();
        MetaOf<BoxColliderComponent3D>();
        MetaOf<QuadColliderComponent3D>();
        MetaOf<MeshColliderComponent3D>();
        MetaOf<MassOverrideComponent>();
        MetaOf<WaterPhysicsComponent>();
        MetaOf<WaterPhysicsBounds>();
        MetaOf<IslandPhysics>();
    });
}

} // namespace quellor
