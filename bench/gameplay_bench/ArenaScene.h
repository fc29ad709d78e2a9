#pragma once
// The arena the gameplay benchmarks share: one engine on the offscreen OpenGL context whose
// space "default" holds the physics, resource, object, camera and graphics systems (the camera
// path off, as at start-up), 100 still boxes on a grid and four players of four teams standing
// among them, each a still body with a sphere and its player record.
#include "bench/gpu/GpuRig.h"

#include <string>
#include <vector>

namespace quellor {
class CameraSystem;
class Engine;
class Entity;
class GraphicsSystem;
class ObjectSystem;
class PhysicsSystem3D;
class ResourceSystem;
} // namespace quellor

namespace gameplaybench {

class ArenaScene {
public:
    static constexpr int kStaticBodies = 100;
    static constexpr int kPlayers = 4;
    static constexpr float kSpacing = 12.0f; // between grid boxes
    inline static const std::string kTeams[kPlayers] = {"red", "orange", "purple", "green"};

    // Builds the engine and the scene; the physics has placed every body when it returns.
    explicit ArenaScene(gpubench::Rig& rig);
    // Destroys the engine and all it holds.
    ~ArenaScene();
    ArenaScene(const ArenaScene&) = delete;
    ArenaScene& operator=(const ArenaScene&) = delete;

    quellor::Engine* engine = nullptr;
    quellor::PhysicsSystem3D* physics = nullptr;
    quellor::ResourceSystem* resources = nullptr;
    quellor::ObjectSystem* objects = nullptr;
    quellor::CameraSystem* cameras = nullptr;
    quellor::GraphicsSystem* graphics = nullptr;
    std::vector<quellor::Entity*> players;
};

} // namespace gameplaybench
