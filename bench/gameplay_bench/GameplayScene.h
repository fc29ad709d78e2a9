#pragma once
// The arena the gameplay sections share: 100 static bodies (a floor of half size 50, crates,
// ramps and walls) from a fixed seed, as a scene of the shared scene builder so that our world
// and Bullet's see the same boxes. The floor's top is y = 0. Also the rig of systems that the
// camera and input sections set up on it.
#include "tests/support/PhysicsScenes3D.h"

#include <filesystem>

namespace gpubench {
struct Rig;
}

namespace quellor {
class CameraSystem;
class Engine;
class GraphicsSystem;
class ObjectSystem;
class PhysicsSystem3D;
class ResourceSystem;
} // namespace quellor

namespace tarselbench {

inline constexpr int kGameplaySceneBodies = 100;

quellor::scenes::Scene3D GameplayScene();

// A temporary folder, removed at exit, holding the reticle and ring archetypes that every
// person's camera clones. Sections write their own files beside them.
const std::filesystem::path& BenchFolder();

// The gameplay types registered and, in the engine's "default", physics with the arena built,
// resources that know the folder's reticle archetypes, objects, cameras and last the graphics
// system on the GPU rig's offscreen context (it does not draw). Sections add their own systems.
struct GameplayRig {
    quellor::Engine* engine = nullptr;
    quellor::PhysicsSystem3D* physics = nullptr;
    quellor::ResourceSystem* resources = nullptr;
    quellor::ObjectSystem* objects = nullptr;
    quellor::CameraSystem* cameras = nullptr;
    quellor::GraphicsSystem* graphics = nullptr;
};
GameplayRig MakeGameplayRig(gpubench::Rig& gpu);

} // namespace tarselbench
