// The player marker following its player, and the orbit around its start: where it starts,
// what it faces, through which path it moves, and values it cannot use.
#include "PropLevels.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/OrbitComponent.h"
#include "gameplay/PlayerIdComponent.h"
#include "physics/RigidBodyComponent3D.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/gameplay/GameWorld.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>

namespace quellor::test {
namespace {

using tarsel::test::GameWorld;
using PropsTest = tarsel::test::GameWorldTest;

constexpr float kDt = GameWorld::kDt;
constexpr float kPi = std::numbers::pi_v<float>;

Transform3D* TransformOf(Component* component)
{
    return component->GetEntity()->GetComponent<Transform3D>();
}

void ExpectAt(const Vec4& p, float x, float y, float z, const char* what)
{
    EXPECT_NEAR(p.x, x, 1e-4f) << what;
    EXPECT_NEAR(p.y, y, 1e-4f) << what;
    EXPECT_NEAR(p.z, z, 1e-4f) << what;
}

TEST_F(PropsTest, AMarkerFollowsItsPlayerAtTheOffsetAndOtherwiseStays)
{
    world->JoinPlayer("someone", "blue", 1, -8.0f, 0.0f, 0.0f);
    Entity* player = world->JoinPlayer("player", "red", 2, 5.0f, 0.0f, 5.0f);
    auto* marker = world->Spawn("marker", 0.0f, 0.0f, 0.0f)->AddComponent<PlayerIdComponent>(false);
    marker->m_controllerID = 2;
    marker->m_offset = Vec4(0.0f, 3.0f, 1.0f, 1.0f);
    marker->Initialize();
    EXPECT_TRUE(marker->IsInLogicSlot());
    marker->Update(kDt);
    ExpectAt(TransformOf(marker)->GetPosition(), 5.0f, 3.0f, 6.0f, "over the player");
    player->GetComponent<Transform3D>()->SetPosition(-1.0f, 2.0f, 0.0f);
    marker->Update(kDt);
    ExpectAt(TransformOf(marker)->GetPosition(), -1.0f, 5.0f, 1.0f, "after the player moved");

    auto* lonely = world->Spawn("lonely", 7.0f, 7.0f, 7.0f)->AddComponent<PlayerIdComponent>(true);
    lonely->m_controllerID = 3;
    marker->m_controllerID = 2;
    player->Destroy();
    world->Step();
    for (int frame = 0; frame < 3; ++frame) {
        lonely->Update(kDt);
        marker->Update(kDt);
    }
    ExpectAt(TransformOf(lonely)->GetPosition(), 7.0f, 7.0f, 7.0f, "no player of controller 3");
    ExpectAt(TransformOf(marker)->GetPosition(), -1.0f, 5.0f, 1.0f, "its player is gone");
}

OrbitComponent* Orbit(GameWorld& world, float startDeg, float radius = 4.0f, float speed = kPi / 2.0f)
{
    Entity* entity = world.Spawn("orbit", 1.0f, 2.0f, 3.0f);
    auto* orbit = new OrbitComponent;
    orbit->m_startAngleDeg = startDeg;
    orbit->m_radius = radius;
    orbit->m_speed = speed;
    entity->AddComponent(OrbitComponent::ID, orbit, true);
    return orbit;
}

// The third column of the entity's rotation.
Vec4 Facing(const Transform3D* t)
{
    const Mat4 m = t->BuildWorldMatrix();
    return Vec4(m.m02, m.m12, m.m22, 0.0f);
}

TEST_F(PropsTest, AnOrbitStartsAtItsAngleFacesTheCentreAndTurns)
{
    OrbitComponent* ninety = Orbit(*world, 90.0f);
    EXPECT_TRUE(ninety->IsInLogicSlot());
    ninety->Update(1.0f);
    const Transform3D* t = TransformOf(ninety);
    ExpectAt(t->GetPosition(), 5.0f, 2.0f, 3.0f, "90 degrees: centre + (r, 0, 0)");
    ExpectAt(Facing(t), -1.0f, 0.0f, 0.0f, "the third column points at the centre");
    ninety->Update(1.0f); // a quarter turn later
    ExpectAt(t->GetPosition(), 1.0f, 2.0f, -1.0f, "180 degrees");
    ExpectAt(Facing(t), 0.0f, 0.0f, 1.0f, "still facing the centre");

    world->engine->GetEntity("orbit", "default")->Destroy();
    world->Step();
    OrbitComponent* zero = Orbit(*world, 0.0f);
    zero->Update(kDt);
    ExpectAt(TransformOf(zero)->GetPosition(), 1.0f, 2.0f, 7.0f, "0 degrees: centre + (0, 0, r)");
    ExpectAt(Facing(TransformOf(zero)), 0.0f, 0.0f, -1.0f, "facing the centre");
}

TEST_F(PropsTest, AnOrbitMovesARigidBodyThroughItsSetters)
{
    Entity* entity = world->Spawn("orbit", 1.0f, 2.0f, 3.0f);
    auto* body = entity->AddComponent<RigidBodyComponent3D>(true);
    ASSERT_NE(body->GetBody(), nullptr);
    auto* orbit = new OrbitComponent;
    orbit->m_startAngleDeg = 90.0f;
    orbit->m_radius = 4.0f;
    entity->AddComponent(OrbitComponent::ID, orbit, true);
    orbit->Update(kDt);
    ExpectAt(body->GetPosition(), 5.0f, 2.0f, 3.0f, "the body is placed");
    ExpectAt(TransformOf(orbit)->GetPosition(), 1.0f, 2.0f, 3.0f, "the transform waits for the physics step");
    // The body's axes are the look matrix's columns: f x up first, then the third column -f
    // towards the centre, which the body reads negated as its forward.
    ExpectAt(body->GetRight(), 0.0f, 0.0f, 1.0f, "right");
    ExpectAt(body->GetForward(), 1.0f, 0.0f, 0.0f, "forward");
}

TEST_F(PropsTest, AnOrbitWithValuesItCannotUseStaysOrSitsAtTheCentre)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    tarsel::test::StdoutCapture out;
    int index = 0;
    for (const auto& [radius, speed, start] : {std::tuple{nan, 1.0f, 0.0f}, std::tuple{4.0f, inf, 0.0f},
                                               std::tuple{4.0f, 1.0f, -inf}}) {
        Entity* entity = world->Spawn("bad" + std::to_string(index++), 1.0f, 2.0f, 3.0f);
        auto* orbit = new OrbitComponent;
        orbit->m_radius = radius;
        orbit->m_speed = speed;
        orbit->m_startAngleDeg = start;
        entity->AddComponent(OrbitComponent::ID, orbit, true);
        for (int frame = 0; frame < 3; ++frame)
            orbit->Update(kDt);
        ExpectAt(TransformOf(orbit)->GetPosition(), 1.0f, 2.0f, 3.0f, "not moved");
    }
    std::size_t warnings = 0;
    for (std::size_t at = out.Text().find("OrbitComponent"); at != std::string::npos;
         at = out.Text().find("OrbitComponent", at + 1))
        ++warnings;
    EXPECT_EQ(warnings, 3u) << "one per orbit: " << out.Text();

    // Radius 0: at the centre, with no direction to face the rotation is kept.
    OrbitComponent* still = Orbit(*world, 30.0f, 0.0f);
    Transform3D* t = TransformOf(still);
    t->m_rotation = Quat(0.0f, 0.6f, 0.0f, 0.8f);
    t->SetPosition(9.0f, 9.0f, 9.0f);
    still->Update(kDt);
    ExpectAt(t->GetPosition(), 1.0f, 2.0f, 3.0f, "the centre");
    EXPECT_EQ(t->m_rotation.y, 0.6f);
    EXPECT_EQ(t->m_rotation.w, 0.8f);
}

TEST_F(PropsTest, HostilePropsFromALevelLoadAndRunQuietly)
{
    world->LoadLevel("hostile.ql", prop_levels::kHostileProps);
    world->JoinPlayer("player", "red", 0, 0.0f, 0.0f, 0.0f);
    tarsel::test::StdoutCapture out;
    world->Step(5);
    const std::string& text = out.Text();
    const std::string unknownHat = "finds no model \"no_such_hat.model\"";
    ASSERT_NE(text.find(unknownHat), std::string::npos) << text;
    EXPECT_EQ(text.find(unknownHat, text.find(unknownHat) + 1), std::string::npos) << "said once";
    const GameLogicSystem& logic = *world->logic;
    EXPECT_EQ(logic.GetSlot(LogicSlot::SkinMountComponent).Count(), 2u);
    EXPECT_EQ(logic.GetSlot(LogicSlot::PlayerIdComponent).Count(), 1u);
    EXPECT_EQ(logic.GetSlot(LogicSlot::OrbitComponent).Count(), 2u);
    EXPECT_EQ(logic.GetSlot(LogicSlot::AnimationPlayerComponent).Count(), 1u);
    Entity* marker = world->engine->GetEntity("marker", "default");
    EXPECT_EQ(marker->GetComponent<Transform3D>()->m_y, 4.0f) << "no player of controller 9";
    Entity* pivot = world->engine->GetEntity("pivot", "default");
    EXPECT_EQ(pivot->GetComponent<Transform3D>()->m_x, 2.0f) << "radius 0 stays at the centre";
    auto* comet = world->engine->GetEntity("comet", "default")->GetComponent<OrbitComponent>();
    EXPECT_EQ(comet->m_radius, 10.0f) << "a value a float cannot hold is refused";
}

} // namespace
} // namespace quellor::test
