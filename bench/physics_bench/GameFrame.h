#pragma once

namespace tarselbench {

// A frame of a match through PhysicsSystem3D: mesh islands, players with floor sensors, sensor
// spheres and a burst of rays, timed per update. A few frames with smoke.
void GameFrameScene(bool smoke);

} // namespace tarselbench
