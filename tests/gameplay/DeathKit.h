#pragma once
// A match for the kill volume, the level boundary and the death-camera actions: real physics
// (a static sensor box carrying the component; type-2 players with a body box and a floor
// sensor, their own gravity off so that they stay where they are put), people with a
// third-person camera, spawn points for two teams, the two burst files and the sounds the
// flows play.
#include "MatchCameraKit.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Space.h"
#include "engine/Transform3D.h"
#include "engine/graphics/EmitterComponent.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/DeathBoxComponent.h"
#include "gameplay/FeatherSystem.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/LevelBoundaryComponent.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/SpawnPointComponent.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/Camera.h"
#include "tests/support/gameplay/GameWorld.h"
#include "tests/support/gameplay/PlayerBuilder.h"
#include "tools/writers/EmitterWriter.h"

#include <cmath>
#include <string>

namespace quellor::test {

class DeathTest : public tarsel::test::GameWorldTest {
protected:
    static constexpr float kDt = tarsel::test::GameWorld::kDt;
    // Spawn points of the two teams.
    static constexpr float kRedSpawnX = 20.0f;
    static constexpr float kPurpleSpawnX = -20.0f;

    void SetUp() override
    {
        GameWorldTest::SetUp();
        WriteReticleArchetypes(*world);
        tarsel::tools::EmitterDescription burst;
        burst.maxParticles = 8;
        burst.lifespan = {0.25f, 0.5f};
        burst.spawnInterval = {0.05f, 0.05f};
        for (const std::string& file : {DeathFlow::kRespawnEffectFile, std::string("death.pe")})
            ASSERT_TRUE(tarsel::tools::WriteEmitter(burst, file));
        world->resources->ScanDirectory("");
        world->LoadEffect(DeathBoxComponent::kDeathSound);
        world->LoadEffect(LevelBoundaryComponent::kScoreSound);
        world->AddSpawnPoint("redSpawn", "red", kRedSpawnX, 0.0f, 0.0f);
        world->AddSpawnPoint("purpleSpawn", "purple", kPurpleSpawnX, 0.0f, 0.0f);
    }

    // A static sensor box of the given half size carrying the component T.
    template <class T>
    T* AddVolume(const std::string& name, float x, float y, float z, float half, bool withBox = true)
    {
        Entity* entity = world->Spawn(name, x, y, z);
        entity->AddComponent<RigidBodyComponent3D>(true);
        if (withBox) {
            auto* box = new BoxColliderComponent3D;
            box->m_isSensor = true;
            box->SetHalfExtents(Vec4(half, half, half, 0.0f));
            entity->AddComponent(BoxColliderComponent3D::ID, box, true);
        }
        return entity->AddComponent<T>(true);
    }

    // Joined in this order; put at the team's spawn by the join.
    Entity* Person(const std::string& name, const std::string& team, int pad)
    {
        return Join(MakePerson(*world, name, team, pad));
    }
    Entity* Bot(const std::string& name, const std::string& team) { return Join(MakeBot(*world, name, team)); }

    Entity* Join(Entity* player)
    {
        const int controller = Data(player)->controllerID;
        world->logic->AddPlayer(controller, player, controller < 0, true);
        tarsel::test::MotorOf(player)->SetGravity(0.0f);
        return player;
    }

    // Puts the player's feet at (x, y, z).
    static void Place(Entity* player, float x, float y, float z)
    {
        tarsel::test::MotorOf(player)->Teleport(Vec4(x, y - Data(player)->sphereCollRadius, z, 1.0f));
    }
    static Vec4 PositionOf(Entity* player) { return player->GetComponent<Transform3D>()->GetPosition(); }
    static PlayerDataComponent* Data(Entity* player) { return tarsel::test::GameWorld::DataOf(player); }

    void Seconds(float seconds) { world->Step(static_cast<int>(std::lround(seconds / kDt))); }

    int Score(const std::string& team) const
    {
        const auto& scores = world->logic->GetScores();
        const auto it = scores.find(team);
        return it == scores.end() ? 0 : it->second;
    }

    // Live entities of "default" whose name starts with the base name.
    int CountNamed(const std::string& base) const
    {
        int count = 0;
        for (const auto& [name, entity] : world->engine->GetSpace("default")->GetEntityMap())
            if (name.rfind(base, 0) == 0 && !entity->IsDestroyed())
                ++count;
        return count;
    }

    static ::testing::AssertionResult WarnedOnce(const std::string& text, const std::string& warning)
    {
        const auto first = text.find(warning);
        if (first == std::string::npos)
            return ::testing::AssertionFailure() << "no \"" << warning << "\" in: " << text;
        if (text.find(warning, first + 1) != std::string::npos)
            return ::testing::AssertionFailure() << "\"" << warning << "\" more than once in: " << text;
        return ::testing::AssertionSuccess();
    }

    ZOR::Camera& ScreenCamera(int screen) { return world->graphics->GetActiveCamera(screen); }
};

} // namespace quellor::test
