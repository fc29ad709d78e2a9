// The knock-back shot: what one ray does to the player or body it strikes, what it passes,
// and the shot's short-lived beam.
#include "engine/ActionComponent.h"
#include "engine/Engine.h"
#include "engine/Space.h"
#include "gameplay/PlayerUtil.h"
#include "gameplay/effects/SnapshotFxComponent.h"
#include "tests/gameplay/WeaponTestKit.h"

#include <algorithm>
#include <cmath>

namespace quellor::test {
namespace {

class SnapshotTest : public WeaponTest {
protected:
    // Every shot effect in "default".
    std::vector<SnapshotFxComponent*> Effects() const
    {
        std::vector<SnapshotFxComponent*> effects;
        for (const auto& [name, entity] : world->engine->GetSpace("default")->GetEntityMap())
            if (auto* effect = entity->GetComponent<SnapshotFxComponent>(); effect && !entity->IsDestroyed())
                effects.push_back(effect);
        return effects;
    }
    static Vec4 Velocity(Entity* entity) { return entity->GetComponent<RigidBodyComponent3D>()->GetLinearVelocity(); }
};

TEST_F(SnapshotTest, AStruckPlayerIsPushedAndStunned)
{
    Entity* shooter = Armed("shooter", "red", 0.0f, 0.0f);
    Entity* grounded = Armed("grounded", "blue", 20.0f, 0.0f);
    Entity* flying = Armed("flying", "blue", -20.0f, 0.0f);
    ASSERT_TRUE(Data(grounded).m_onGround);

    const Ray3D ray = Aim(shooter, grounded);
    ASSERT_TRUE(Shot(shooter).TryHit(ray));
    const Vec4 v = Velocity(grounded);
    EXPECT_NEAR(v.x, ray.direction.x * 200.0f, 1e-3f);
    EXPECT_NEAR(v.y, ray.direction.y * 200.0f, 1e-3f);
    EXPECT_FLOAT_EQ(Data(grounded).m_stunTimer, 0.6f);
    EXPECT_FLOAT_EQ(Data(grounded).m_knockbackDir.x, ray.direction.x);
    EXPECT_FLOAT_EQ(Data(grounded).m_knockbackDir.w, 0.0f);
    EXPECT_FLOAT_EQ(Data(grounded).blastDist, 200.0f);
    EXPECT_EQ(Data(grounded).GetLastHitter(), shooter);

    Data(flying).m_onGround = false;
    ASSERT_TRUE(Shot(shooter).TryHit(Aim(shooter, flying)));
    EXPECT_FLOAT_EQ(Data(flying).m_stunTimer, 0.85f);

    // Each hit draws the shot from the hand to where it struck.
    const std::vector<SnapshotFxComponent*> effects = Effects();
    ASSERT_EQ(effects.size(), 2u);
    for (const SnapshotFxComponent* effect : effects) {
        EXPECT_NEAR(std::abs(effect->m_to.x), Position(grounded).x - 0.5f, 0.05f);
        EXPECT_FLOAT_EQ(effect->m_from.x, PlayerUtil::HandPoint(*shooter).x);
        EXPECT_FLOAT_EQ(effect->m_from.y, PlayerUtil::HandPoint(*shooter).y);
    }
    // The stun flies the player off.
    world->Step(5);
    EXPECT_GT(Position(grounded).x, 21.0f);
}

TEST_F(SnapshotTest, ABodyMovesAtTheSameSpeedWhateverItsMass)
{
    Entity* shooter = Armed("shooter", "red", 0.0f, 0.0f);
    Entity* small = Prop("small", 20.0f, 5.0f, 0.0f, 1, 0.5f);
    Entity* large = Prop("large", -20.0f, 5.0f, 0.0f, 1, 3.0f);
    world->Step();
    for (Entity* box : {small, large}) {
        SCOPED_TRACE(box->GetName());
        const Vec4 at = box->GetComponent<RigidBodyComponent3D>()->GetPosition();
        const Ray3D ray{Chest(shooter), (ZOR::float3(at.x, at.y, at.z) - Chest(shooter)).Normalized()};
        ASSERT_TRUE(Shot(shooter).TryHit(ray));
        const Vec4 v = Velocity(box);
        EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 500.0f, 1e-2f);
        EXPECT_NEAR(v.x, ray.direction.x * 500.0f, 1e-2f);
    }
}

TEST_F(SnapshotTest, ARayPassesTheShooterAndWhatHasNoBody)
{
    Entity* shooter = Armed("shooter", "red", 0.0f, 0.0f);
    SnapshotComponent& shot = Shot(shooter);
    // Its own box, from outside.
    EXPECT_FALSE(shot.TryHit(Ray3D{Chest(shooter) + ZOR::float3(5.0f, 0.0f, 0.0f), ZOR::float3(-1.0f, 0.0f, 0.0f)}));
    // The floor has no component at all, and the sky holds nothing.
    EXPECT_FALSE(shot.TryHit(Ray3D{Chest(shooter), ZOR::float3(0.0f, -1.0f, 0.0f)}));
    EXPECT_FALSE(shot.TryHit(Ray3D{Chest(shooter), ZOR::float3(0.0f, 1.0f, 0.0f)}));
    EXPECT_TRUE(Effects().empty());
    // A body that does not move still counts as struck.
    Prop("pillar", 20.0f, 5.0f, 0.0f, 0);
    world->Step();
    EXPECT_TRUE(shot.TryHit(Ray3D{Chest(shooter), ZOR::float3(1.0f, 0.0f, 0.0f)}));
    // Out of range.
    shot.m_range = 10.0f;
    EXPECT_FALSE(shot.TryHit(Ray3D{Chest(shooter), ZOR::float3(1.0f, 0.0f, 0.0f)}));
    shot.m_range = std::nanf("");
    EXPECT_FALSE(shot.TryHit(Ray3D{Chest(shooter), ZOR::float3(1.0f, 0.0f, 0.0f)}));
}

TEST_F(SnapshotTest, APlayerHeldByTwoBeamsIsReleasedByBoth)
{
    Entity* first = Armed("first", "red", 0.0f, 0.0f);
    Entity* second = Armed("second", "red", 0.0f, 10.0f);
    Entity* enemy = Armed("enemy", "blue", 20.0f, 5.0f);
    Lift(first).Fire(Aim(first, enemy));
    Lift(second).Fire(Aim(second, enemy));
    world->Step();
    ASSERT_EQ(Held(first, enemy)->lifterCount, 2);

    ASSERT_TRUE(Shot(first).TryHit(Aim(first, enemy)));
    EXPECT_FALSE(Data(enemy).m_isLifted);
    world->Step();
    EXPECT_EQ(Held(first, enemy), nullptr);
    EXPECT_EQ(Held(second, enemy), nullptr);
    EXPECT_FLOAT_EQ(Motor(enemy).GetGravity(), Motor(enemy).GetBaseGravity());
}

class SnapshotFxTest : public tarsel::test::GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        world->Step(2);
        entity = world->Spawn("snapshotFx");
        effect = entity->AddComponent<SnapshotFxComponent>(true);
    }

    Entity* entity = nullptr;
    SnapshotFxComponent* effect = nullptr;
};

TEST_F(SnapshotFxTest, BeforePlayTheTubeHasNoRadius)
{
    EXPECT_EQ(effect->GetTexture(), "shot_pop.dds");
    EXPECT_EQ(effect->GetBlendMode(), ZOR::BlendMode::Additive);
    world->Step();
    ASSERT_EQ(effect->NumVerts(), 16u * 6u);
    for (const ZOR::DynamicMeshVertex& v : effect->Vertices())
        EXPECT_EQ(v.position, ZOR::float3());
}

TEST_F(SnapshotFxTest, SpringsOpenCollapsesAndGoes)
{
    ASSERT_FALSE(entity->HasComponent(ActionComponent::ID));
    effect->Play(0.15f, 0.3f);
    EXPECT_TRUE(entity->HasComponent(ActionComponent::ID));
    effect->m_from = ZOR::float3(0.0f, 0.0f, 0.0f);
    effect->m_to = ZOR::float3(0.0f, 0.0f, 30.0f);

    // The radius at the end of each frame while the entity lives: 0.15 + 0.3 s.
    const EntityRef ref(entity);
    std::vector<float> radii;
    float farthest = 0.0f;
    for (int frame = 0; frame < 40 && ref.Get(); ++frame) {
        world->Step();
        if (!ref.Get())
            break;
        radii.push_back(effect->m_radius);
        if (frame == 4)
            for (const ZOR::DynamicMeshVertex& v : effect->Vertices())
                farthest = std::max(farthest, v.position.z);
    }
    ASSERT_GE(radii.size(), 25u);
    EXPECT_LE(radii.size(), 27u);
    // The elastic grow overshoots, then settles at full radius by the end of its 0.15 s.
    EXPECT_GT(*std::max_element(radii.begin(), radii.begin() + 8), SnapshotFxComponent::kOpenRadius);
    EXPECT_NEAR(radii[7], SnapshotFxComponent::kOpenRadius, 0.02f);
    // The cubic shrink only falls, fastest first.
    for (std::size_t i = 9; i < radii.size(); ++i)
        EXPECT_LE(radii[i], radii[i - 1]) << i;
    EXPECT_GT(radii[8] - radii[9], radii[radii.size() - 2] - radii.back());
    EXPECT_LT(radii.back(), 0.05f);
    // The tube follows the points written after Play.
    EXPECT_FLOAT_EQ(farthest, 30.0f);
}

} // namespace
} // namespace quellor::test
