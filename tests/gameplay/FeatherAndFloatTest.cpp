// The feather tally, the feather pick-up (its spin, its reach, two teams in one frame, a
// feather without a place) and the float component's drift, on a transform and on a body.
#include "engine/ActionComponent.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/FeatherSystem.h"
#include "gameplay/FloatComponent.h"
#include "gameplay/GameLogicSystem.h"
#include "physics/RigidBodyComponent3D.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/gameplay/GameWorld.h"
#include "tests/support/gameplay/PlayerBuilder.h"

#include <cmath>
#include <limits>

namespace quellor::test {
namespace {

using tarsel::test::GameWorld;

constexpr float kDt = GameWorld::kDt;

class FeatherTest : public tarsel::test::GameWorldTest {
protected:
    FeatherSystem& Feathers() { return *world->feathers; }

    // A feather of reach scale + 6 at (x, y, z), its action made by name.
    Entity* Feather(float x, float y, float z, float scale = 1.0f)
    {
        Entity* feather = world->Spawn("feather", x, y, z);
        feather->GetComponent<Transform3D>()->m_scaleX = scale;
        feather->AddComponent<ActionComponent>(true)->SetBasedOnName("FeatherAction");
        return feather;
    }
    // A player with a body, joined to the match as a computer player.
    Entity* Player(const std::string& name, const std::string& team, float x, float y, float z)
    {
        tarsel::test::PlayerBuild build;
        build.team = team;
        Entity* player = tarsel::test::BuildPlayer(*world->engine, name, x, y, z, build);
        // Hanging where it was built, so that distances hold from frame to frame.
        tarsel::test::MotorOf(player)->SetGravity(0.0f);
        world->logic->AddPlayer(-1, player, true, false);
        return player;
    }
    static Vec4 Centre(Entity* player) { return player->GetComponent<RigidBodyComponent3D>()->GetCenterOfMass(); }
};

TEST_F(FeatherTest, TheTallyCountsPerTeamReadsWithoutInsertingAndResets)
{
    FeatherSystem& feathers = Feathers();
    EXPECT_EQ(feathers.GetFeathers("red"), 0);
    EXPECT_EQ(feathers.GetTeamCount(), 0u) << "reading a team inserts nothing";
    feathers.AddFeather("red");
    feathers.AddFeather("red");
    feathers.AddFeather("green");
    EXPECT_EQ(feathers.GetFeathers("red"), 2);
    EXPECT_EQ(feathers.GetFeathers("green"), 1);
    EXPECT_EQ(feathers.GetFeathers("purple"), 0);
    EXPECT_EQ(feathers.GetTeamCount(), 2u);
    feathers.Reset();
    EXPECT_EQ(feathers.GetFeathers("red"), 0);
    EXPECT_EQ(feathers.GetFeathers("green"), 0);
    EXPECT_EQ(feathers.GetTeamCount(), 0u);
    feathers.AddFeather("red");
    EXPECT_EQ(feathers.GetFeathers("red"), 1) << "counting starts again after a reset";
}

// v turned by the unit quaternion q.
Vec4 Rotate(const Quat& q, float x, float y, float z)
{
    // v + 2w(u x v) + 2u x (u x v), u the vector part.
    const float cx = q.y * z - q.z * y;
    const float cy = q.z * x - q.x * z;
    const float cz = q.x * y - q.y * x;
    return Vec4(x + 2.0f * (q.w * cx + q.y * cz - q.z * cy), y + 2.0f * (q.w * cy + q.z * cx - q.x * cz),
                z + 2.0f * (q.w * cz + q.x * cy - q.y * cx), 0.0f);
}

TEST_F(FeatherTest, AFeatherTurnsOneRadianASecondAboutItsOwnUpAxis)
{
    Entity* feather = Feather(0.0f, 50.0f, 0.0f);
    Transform3D* transform = feather->GetComponent<Transform3D>();
    // Tipped over by a quarter turn about x: its own up axis now points along world z.
    const float h = std::sqrt(0.5f);
    transform->m_rotation = Quat(h, 0.0f, 0.0f, h);
    world->Step(60);
    const Quat& q = transform->m_rotation;
    const Vec4 up = Rotate(q, 0.0f, 1.0f, 0.0f);
    EXPECT_NEAR(up.x, 0.0f, 1e-4f);
    EXPECT_NEAR(up.y, 0.0f, 1e-4f);
    EXPECT_NEAR(up.z, 1.0f, 1e-4f) << "the turn keeps the feather's own up axis";
    // Its own x axis started along world x and turned 1 rad about world z (the own up axis),
    // with the sign of a turn about +y carried through the tip.
    const Vec4 side = Rotate(q, 1.0f, 0.0f, 0.0f);
    EXPECT_NEAR(side.x, std::cos(1.0f), 1e-3f);
    EXPECT_NEAR(std::fabs(side.y), std::sin(1.0f), 1e-3f);
    EXPECT_NEAR(side.z, 0.0f, 1e-4f);
    EXPECT_FALSE(feather->IsDestroyed()) << "no player: the feather only spins";
}

TEST_F(FeatherTest, APlayerExactlyAtTheReachLeavesItAndOneInsideTakesIt)
{
    Entity* player = Player("p", "red", 0.0f, 10.0f, 0.0f);
    world->Step();
    const Vec4 c = Centre(player);
    Entity* feather = Feather(c.x + 8.0f, c.y, c.z, 2.0f);
    world->Step();
    ASSERT_NEAR(Centre(player).y, c.y, 1e-6f);
    EXPECT_FALSE(feather->IsDestroyed()) << "at exactly m_scaleX + 6 the feather stays";
    EXPECT_EQ(Feathers().GetFeathers("red"), 0);

    feather->GetComponent<Transform3D>()->m_scaleX = 2.01f;
    world->Step();
    EXPECT_EQ(Feathers().GetFeathers("red"), 1);
    EXPECT_EQ(world->engine->GetEntity("feather", "default"), nullptr) << "gone at the end of the frame";
    world->Step(2);
    EXPECT_EQ(Feathers().GetFeathers("red"), 1) << "a collected feather is credited once";
}

TEST_F(FeatherTest, TwoTeamsReachingItInOneFrameAreBothCreditedAndItGoesOnce)
{
    Entity* red = Player("red", "red", -3.0f, 10.0f, 0.0f);
    Entity* green = Player("green", "green", 3.0f, 10.0f, 0.0f);
    Player("far", "purple", 60.0f, 10.0f, 0.0f);
    world->Step();
    const Vec4 a = Centre(red);
    const Vec4 b = Centre(green);
    Feather((a.x + b.x) * 0.5f, a.y, a.z);
    world->Step();
    EXPECT_EQ(Feathers().GetFeathers("red"), 1);
    EXPECT_EQ(Feathers().GetFeathers("green"), 1);
    EXPECT_EQ(Feathers().GetFeathers("purple"), 0);
    EXPECT_EQ(world->engine->GetEntity("feather", "default"), nullptr);
    world->Step(2);
}

TEST_F(FeatherTest, AFeatherWithoutATransformFinishesWithAWarning)
{
    Player("p", "red", 0.0f, 10.0f, 0.0f);
    Entity* feather = world->Spawn("bare");
    auto* actions = feather->AddComponent<ActionComponent>(true);
    actions->SetBasedOnName("FeatherAction");
    tarsel::test::StdoutCapture out;
    world->Step(3);
    EXPECT_NE(out.Text().find("FeatherAction runs on \"bare\" without a Transform3D"), std::string::npos)
        << out.Text();
    EXPECT_EQ(actions->GetActionList().GetCount(), 0) << "the action finished";
    EXPECT_EQ(Feathers().GetTeamCount(), 0u);
}

using FloatTest = tarsel::test::GameWorldTest;

FloatComponent* Float(Entity* entity)
{
    auto* drift = new FloatComponent;
    entity->AddComponent(FloatComponent::ID, drift, true);
    return drift;
}

TEST_F(FloatTest, WithTheDefaultsEachAxisGoesOutForThreeSecondsAndBack)
{
    Entity* prop = world->Spawn("prop", 1.0f, 2.0f, 3.0f);
    FloatComponent* drift = Float(prop);
    EXPECT_TRUE(drift->IsInLogicSlot());
    Transform3D* transform = prop->GetComponent<Transform3D>();
    // Steps of 1/4 s (exact in binary): the first turns every axis negative for 3 s.
    for (int i = 0; i < 12; ++i)
        drift->Update(0.25f);
    EXPECT_FLOAT_EQ(transform->m_x, 1.0f - 6.0f);
    EXPECT_FLOAT_EQ(transform->m_y, 2.0f - 12.0f);
    EXPECT_FLOAT_EQ(transform->m_z, 3.0f - 6.0f);
    // A timer at exactly 0 has not run out: one step more before the turn.
    drift->Update(0.25f);
    EXPECT_FLOAT_EQ(transform->m_y, 2.0f - 13.0f);
    for (int i = 0; i < 13; ++i)
        drift->Update(0.25f);
    EXPECT_FLOAT_EQ(transform->m_x, 1.0f);
    EXPECT_FLOAT_EQ(transform->m_y, 2.0f);
    EXPECT_FLOAT_EQ(transform->m_z, 3.0f);
    drift->Update(0.25f);
    EXPECT_FLOAT_EQ(transform->m_y, 2.0f - 1.0f) << "and out again";
}

TEST_F(FloatTest, ADurationOfZeroJittersAtTheOriginAndNoNumberStaysPut)
{
    Entity* prop = world->Spawn("prop", 0.0f, 5.0f, 0.0f);
    FloatComponent* drift = Float(prop);
    drift->m_yDuration = 0.0f;
    Transform3D* transform = prop->GetComponent<Transform3D>();
    for (int i = 0; i < 9; ++i) {
        drift->Update(0.25f);
        EXPECT_GE(transform->m_y, 5.0f - 1.0f - 1e-5f);
        EXPECT_LE(transform->m_y, 5.0f + 1e-5f);
    }

    Entity* bad = world->Spawn("bad", 4.0f, 4.0f, 4.0f);
    FloatComponent* broken = Float(bad);
    broken->m_xSpeed = std::numeric_limits<float>::quiet_NaN();
    tarsel::test::StdoutCapture out;
    broken->Update(kDt);
    broken->Update(kDt);
    const std::string text = out.Text();
    const Vec4 at = bad->GetComponent<Transform3D>()->GetPosition();
    EXPECT_EQ(at.x, 4.0f);
    EXPECT_EQ(at.y, 4.0f);
    EXPECT_EQ(text.find("FloatComponent on \"bad\""), text.rfind("FloatComponent on \"bad\"")) << "one warning";
    EXPECT_NE(text.find("FloatComponent on \"bad\""), std::string::npos);
}

TEST_F(FloatTest, AnEntityWithABodyIsMovedThroughTheBodyFromTheGameLogic)
{
    Entity* prop = world->Spawn("prop", 1.0f, 2.0f, 3.0f);
    auto* body = prop->AddComponent<RigidBodyComponent3D>(true);
    ASSERT_NE(body->GetBody(), nullptr);
    Float(prop);
    // Two start-up frames of the game logic, then three updates of the float.
    world->Step(5);
    const Vec4 at = body->GetPosition();
    EXPECT_NEAR(at.x, 1.0f - 2.0f * 3.0f * kDt, 1e-4f);
    EXPECT_NEAR(at.y, 2.0f - 4.0f * 3.0f * kDt, 1e-4f);
    EXPECT_NEAR(at.z, 3.0f - 2.0f * 3.0f * kDt, 1e-4f);
}

} // namespace
} // namespace quellor::test
