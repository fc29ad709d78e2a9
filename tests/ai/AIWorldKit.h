#pragma once
// The game world with an "AISystem" at its place (before "ResourceSystem"), for what needs the
// match's player list and real physics without a GPU: players with a fixed body and a box,
// agents that also carry the bot tuning, a sensory memory and a target chooser, walls, and a
// hand-driven clock for the memory's time stamps. World gravity stays 0; a body or collider
// placed this frame is in the ray queries only after a physics step, so scenes are settled
// with whole frames.
#include "ai/AISystem.h"
#include "ai/AITargetingComponent.h"
#include "ai/RegisterAITypes.h"
#include "ai/SensoryMemoryComponent.h"
#include "ai/behavior/AIDataComponent.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Timer.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/BodyDescription3D.h"
#include "physics/BoxColliderComponent3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "tests/support/ManualClock.h"
#include "tests/support/gameplay/GameWorld.h"

#include <cstdint>
#include <string>

namespace quellor::test {

class AIWorldTest : public tarsel::test::GameWorldTest {
protected:
    static constexpr std::int64_t kSecond = 1000000000; // clock ticks

    std::vector<tarsel::test::GameWorld::Extra> ExtraSystems() const override
    {
        return {{"ResourceSystem", AISystem::ID, [] { return new AISystem; }}};
    }

    void SetUp() override
    {
        RegisterAITypes();
        GameWorldTest::SetUp();
        ai = world->engine->GetSystem<AISystem>("default");
    }

    // A computer player of the match with a fixed body and a 1 × 2 × 1 box at (x, y, z).
    Entity* Player(const std::string& name, const std::string& team, float x, float y, float z)
    {
        Entity* player = world->JoinPlayer(name, team, -1, x, y, z);
        auto* body = new RigidBodyComponent3D;
        body->SetType(kBodyFixed)->SetHasGravity(false);
        player->AddComponent(RigidBodyComponent3D::ID, body, true);
        auto* box = new BoxColliderComponent3D;
        box->SetHalfExtents(Vec4(0.5f, 1.0f, 0.5f, 0.0f));
        player->AddComponent(BoxColliderComponent3D::ID, box, true);
        return player;
    }

    // A player that also senses and chooses targets; it faces +z.
    Entity* Agent(const std::string& name, const std::string& team, float x = 0.0f, float y = 0.0f, float z = 0.0f)
    {
        Entity* agent = Player(name, team, x, y, z);
        agent->AddComponent<AIDataComponent>(true);
        agent->AddComponent<AITargetingComponent>(true);
        agent->AddComponent<SensoryMemoryComponent>(true);
        return agent;
    }

    // A static box that blocks sight.
    Entity* Wall(const std::string& name, float x, float y, float z, const Vec4& half)
    {
        Entity* wall = world->Spawn(name, x, y, z);
        wall->AddComponent(RigidBodyComponent3D::ID, (new RigidBodyComponent3D)->SetType(kBodyStatic), true);
        auto* box = new BoxColliderComponent3D;
        box->SetHalfExtents(half);
        wall->AddComponent(BoxColliderComponent3D::ID, box, true);
        return wall;
    }

    static SensoryMemoryComponent* MemoryOf(Entity* agent) { return agent->GetComponent<SensoryMemoryComponent>(); }
    static AITargetingComponent* TargetingOf(Entity* agent) { return agent->GetComponent<AITargetingComponent>(); }
    static AIDataComponent* DataOf(Entity* agent) { return agent->GetComponent<AIDataComponent>(); }
    static RigidBodyComponent3D* BodyOf(Entity* entity) { return entity->GetComponent<RigidBodyComponent3D>(); }

    // Moves the clock to `ticks` and runs frames.
    void At(std::int64_t ticks, int frames = 1)
    {
        clock.Set(ticks);
        world->Step(frames);
    }
    // The memory's reading of the clock at `ticks`.
    float TimeAt(std::int64_t ticks)
    {
        const std::int64_t now = clock.Ticks();
        clock.Set(ticks);
        const float time = Timer().GetTime();
        clock.Set(now);
        return time;
    }

    tarsel::test::ManualClock clock{kSecond};
    AISystem* ai = nullptr;
};

} // namespace quellor::test
