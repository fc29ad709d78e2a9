#include "physics/WaterPhysicsSystem.h"

#include "engine/Engine.h"

namespace quellor {

WaterPhysicsSystem::~WaterPhysicsSystem() = default;

WaterPhysicsSystem* WaterPhysicsSystem::Find(const QLObject& object)
{
    Engine* engine = object.GetEngine();
    return engine ? dynamic_cast<WaterPhysicsSystem*>(engine->GetSystem(ID, "default")) : nullptr;
}

} // namespace quellor
