#include "physics/WaterPhysicsSystem.h"

namespace quellor {

WaterPhysicsSystem::~WaterPhysicsSystem() = default;

} // namespace quellor
