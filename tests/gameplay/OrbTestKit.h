#pragma once
// The orb weapon's test world: the game world at 1/60 s with a still floor 20 below the origin
// (a new body spends its first steps at the origin, where nothing lies), the orb sounds, the
// shared emitter files and the generated character model; players built as the set-up builds
// them, skinned, with an ActionComponent and an orb weapon, and joined.
#include "CharacterKit.h"

#include "engine/ActionComponent.h"
#include "engine/Entity.h"
#include "engine/Finite.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/OrbComponent.h"
#include "gameplay/OrbEmitters.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "tests/support/ContentDir.h"
#include "tests/support/PhysicsScenes3D.h"
#include "tests/support/gameplay/GameWorld.h"
#include "tests/support/gameplay/PlayerBuilder.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

namespace quellor::test {

inline constexpr float kFloorY = -20.0f;
inline constexpr float kStandY = kFloorY + 3.0f; // a default player's body on the floor

inline ZOR::float3 XYZ(const Vec4& v)
{
    return ZOR::float3(v.x, v.y, v.z);
}

inline void ExpectNear3(const ZOR::float3& actual, const ZOR::float3& expected, float tolerance = 1e-3f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

class OrbTest : public tarsel::test::GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        for (const std::string* sound : {&OrbComponent::kShootSound, &OrbComponent::kTrailSound,
                                         &OrbComponent::kChargeSound, &OrbComponent::kWallSound,
                                         &OrbComponent::kHitPlayerSound})
            world->LoadEffect(*sound);
        world->sound->SetMuteAll(false);
        // The emitter files, where the game's working directory has them.
        for (const std::string* file : {&OrbEmitters::kBlastFile, &OrbEmitters::kInnerFile, &OrbEmitters::kOuterFile}) {
            std::ifstream in(tarsel::test::ContentDir() / *file);
            ASSERT_TRUE(in) << *file;
            std::ostringstream text;
            text << in.rdbuf();
            world->WriteFile(*file, text.str());
        }
        OrbEmitters::Reset();
        world->WriteFile(std::string("models/") + kCharacterModel,
                         tarsel::tools::WriteModel(tarsel::tools::character::BuildModel()));
        ASSERT_TRUE(world->graphics->LoadModel(std::string("models/") + kCharacterModel));
        AddBox(ZOR::float3(0.0f, kFloorY - 0.5f, 0.0f), ZOR::float3(400.0f, 0.5f, 400.0f));
        world->Step(2);
    }
    void TearDown() override
    {
        GameWorldTest::TearDown();
        OrbEmitters::Reset();
    }

    // A still box straight in the physics world: its hits and contacts carry no component.
    void AddBox(const ZOR::float3& position, const ZOR::float3& halfExtents)
    {
        scenes::Scene3D scene;
        scene.bodies.push_back(scenes::StaticBox(position, halfExtents));
        scenes::BuildScene3D(*world->physics->GetWorld(), scene);
    }

    // A skinned player standing on the floor at (x, z) with an orb weapon, joined: a person
    // with a third-person camera for a pad 0-3, else a computer player.
    Entity* Player(const std::string& name, const std::string& team, float x, float z, int pad = -1)
    {
        tarsel::test::PlayerBuild build;
        build.team = team;
        build.controllerID = pad;
        Entity* player = tarsel::test::BuildPlayer(*world->engine, name, x, kStandY, z, build);
        Dress(player);
        player->AddComponent<ActionComponent>(true);
        player->AddComponent<OrbComponent>(true);
        if (pad >= 0)
            player->AddComponent<ThirdPersonCameraComponent>(true)->SetTarget(player);
        world->logic->AddPlayer(pad, player, pad < 0, true);
        return player;
    }

    static OrbComponent& Weapon(Entity* player) { return *player->GetComponent<OrbComponent>(); }
    static PlayerDataComponent& Data(Entity* player) { return *tarsel::test::GameWorld::DataOf(player); }
    static ZOR::float3 Centre(Entity* entity)
    {
        return XYZ(entity->GetComponent<RigidBodyComponent3D>()->GetCenterOfMass());
    }
    static ZOR::float3 Place(Entity* entity)
    {
        const auto* transform = entity->GetComponent<Transform3D>();
        return ZOR::float3(transform->m_x, transform->m_y, transform->m_z);
    }
    // The shooter's live orb of that index; null past the end or once its entity has gone.
    static Entity* OrbOf(Entity* shooter, std::size_t index = 0)
    {
        const auto& orbs = Weapon(shooter).GetOrbs();
        return index < orbs.size() ? orbs[index].orb.Get() : nullptr;
    }

    // Frames until the shot queued now has spawned.
    static constexpr int kSpawnFrames = 19;

    // A still shot: spawned at once, resting in place.
    Entity* RestingOrb(Entity* shooter)
    {
        Weapon(shooter).SpawnOrb(Vec4(), 0.0f, nullptr);
        return OrbOf(shooter, Weapon(shooter).GetOrbs().size() - 1);
    }
};

} // namespace quellor::test
