#pragma once
// The arena the gameplay sections share: 100 static bodies (a floor of half size 50, crates,
// ramps and walls) from a fixed seed, as a scene of the shared scene builder so that our world
// and Bullet's see the same boxes. The floor's top is y = 0.
#include "tests/support/PhysicsScenes3D.h"

namespace tarselbench {

inline constexpr int kGameplaySceneBodies = 100;

quellor::scenes::Scene3D GameplayScene();

} // namespace tarselbench
