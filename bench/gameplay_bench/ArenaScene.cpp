#include "bench/gameplay_bench/ArenaScene.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/Vec4.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/RegisterGameplayTypes.h"
#include "gameplay/cameras/CameraSystem.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "physics/SphereColliderComponent3D.h"

namespace gameplaybench {

namespace {

constexpr const char* kSpace = "default";

quellor::Entity* Placed(quellor::Engine& engine, const std::string& name, float x, float y, float z)
{
    quellor::Entity* entity = engine.CreateEntity(name, kSpace);
    entity->AddComponent<quellor::Transform3D>(true)->SetPosition(x, y, z);
    entity->AddComponent<quellor::RigidBodyComponent3D>(true); // still: the default type
    return entity;
}

} // namespace

ArenaScene::ArenaScene(gpubench::Rig& rig)
{
    quellor::RegisterGameplayTypes();
    engine = quellor::Engine::Instance();
    physics = static_cast<quellor::PhysicsSystem3D*>(engine->AddSystem("PhysicsSystem3D", new quellor::PhysicsSystem3D, kSpace));
    resources = static_cast<quellor::ResourceSystem*>(engine->AddSystem("ResourceSystem", new quellor::ResourceSystem, kSpace));
    objects = static_cast<quellor::ObjectSystem*>(engine->AddSystem("ObjectSystem", new quellor::ObjectSystem, kSpace));
    cameras = static_cast<quellor::CameraSystem*>(engine->AddSystem("CameraSystem", new quellor::CameraSystem, kSpace));
    cameras->SetAutomatedCameraDisabled(true);
    std::shared_ptr<ZOR::RenderContext> context(rig.context.get(), [](ZOR::RenderContext*) {});
    graphics = static_cast<quellor::GraphicsSystem*>(
        engine->AddSystem("GraphicsSystem", new quellor::GraphicsSystem(context, rig.window->GetHWND()), kSpace));

    // A 10 × 10 grid of boxes centred on the origin, of three heights.
    for (int i = 0; i < kStaticBodies; ++i) {
        const float x = (static_cast<float>(i % 10) - 4.5f) * kSpacing;
        const float z = (static_cast<float>(i / 10) - 4.5f) * kSpacing;
        const float half = 2.0f + static_cast<float>(i % 3);
        quellor::Entity* box = Placed(*engine, "box" + std::to_string(i), x, half, z);
        auto* collider = new quellor::BoxColliderComponent3D;
        collider->m_halfExtents = quellor::Vec4(half, half, half, 0.0f);
        box->AddComponent(quellor::BoxColliderComponent3D::ID, collider, true);
    }
    // The players stand between the boxes, one in each quarter.
    for (int i = 0; i < kPlayers; ++i) {
        const float x = (i % 2 ? 1.0f : -1.0f) * kSpacing * 1.5f;
        const float z = (i / 2 ? 1.0f : -1.0f) * kSpacing * 1.5f;
        quellor::Entity* player = Placed(*engine, "player" + std::to_string(i), x, 3.0f, z);
        auto* sphere = new quellor::SphereColliderComponent3D;
        sphere->m_radius = 3.0f;
        player->AddComponent(quellor::SphereColliderComponent3D::ID, sphere, true);
        auto* data = player->AddComponent<quellor::PlayerDataComponent>(true);
        data->playerTeam = kTeams[i];
        data->controllerID = i;
        players.push_back(player);
    }
    // The first update places the bodies and builds their colliders; the second files them
    // where the queries find them.
    physics->Update(1.0f / 60.0f);
    physics->Update(1.0f / 60.0f);
}

ArenaScene::~ArenaScene()
{
    quellor::Engine::DestroyInstance();
}

} // namespace gameplaybench
