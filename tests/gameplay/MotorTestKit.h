#pragma once
// The character motor's test world: the game world with static boxes built straight into the
// physics world (no components: their hits and contacts carry no collider component), players
// made as the set-up makes them, and frames at 1/60 s. The default player (sphereCollRadius 1,
// ellipsoid 3.5 x 5 x 3.5 around the body box's centre, 2 above the body) stands with its body
// 3 above the ground.
#include "engine/Entity.h"
#include "engine/SoundSystem.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "tests/support/PhysicsScenes3D.h"
#include "tests/support/gameplay/GameWorld.h"
#include "tests/support/gameplay/PlayerBuilder.h"

#include <cmath>
#include <string>

namespace quellor::test {

inline constexpr float kDt = tarsel::test::GameWorld::kDt;
inline constexpr const char* kLanding = "land_from_jump.ogg";
inline constexpr float kStandHeight = 3.0f; // body above the ground, default player

class MotorTest : public tarsel::test::GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        world->LoadEffect(kLanding);
        // The logic's start-up frames.
        world->Step(2);
    }

    void AddBox(const ZOR::float3& position, const ZOR::float3& halfExtents,
                const ZOR::float3x3& rotation = ZOR::float3x3())
    {
        scenes::Scene3D scene;
        scene.bodies.push_back(scenes::StaticBox(position, halfExtents, rotation));
        scenes::BuildScene3D(*world->physics->GetWorld(), scene);
    }
    // A floor whose top is at height y.
    void AddFloor(float y = 0.0f, float halfSize = 50.0f)
    {
        AddBox(ZOR::float3(0.0f, y - 0.5f, 0.0f), ZOR::float3(halfSize, 0.5f, halfSize));
    }

    Entity* Player(const std::string& name, float x, float y, float z, const tarsel::test::PlayerBuild& build = {})
    {
        return tarsel::test::BuildPlayer(*world->engine, name, x, y, z, build);
    }
    static CharacterMotor3D& Motor(Entity* player) { return *tarsel::test::MotorOf(player); }
    static PlayerDataComponent& Data(Entity* player) { return *tarsel::test::GameWorld::DataOf(player); }
    static Vec4 Position(Entity* player) { return player->GetComponent<RigidBodyComponent3D>()->GetPosition(); }
    static float FlatSpeed(const Vec4& v) { return std::sqrt(v.x * v.x + v.z * v.z); }

    // Steps until the player is grounded (at most frames); whether it is.
    bool Land(Entity* player, int frames = 120)
    {
        for (int i = 0; i < frames && !Data(player).m_onGround; ++i)
            world->Step();
        return Data(player).m_onGround;
    }
    // A default player standing on a floor at 0, at rest.
    Entity* StandingPlayer(const std::string& name, float x = 0.0f, float z = 0.0f,
                           const tarsel::test::PlayerBuild& build = {})
    {
        Entity* player = Player(name, x, kStandHeight, z, build);
        EXPECT_TRUE(Land(player)) << name;
        world->Step(5);
        return player;
    }
    bool Playing(int group) const { return world->sound->IsPlaying(kLanding, group); }
};

} // namespace quellor::test
