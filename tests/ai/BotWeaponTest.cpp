// The weapon leaves on a bot at the red spawn point (-30, -30) of the arena, facing +z, with a
// fixed enemy 20 units ahead: the reaction time, the beam's re-aims and tracking, charge times
// from scripted draws, the cooldown between shots, the charging walk, the vertical limit, shots
// while knocked back, switching weapons, and the weapon priorities.
#include "tests/ai/BotWorldKit.h"

#include "ai/behavior/BehaviorShootLift.h"
#include "ai/behavior/BehaviorShootOrb.h"
#include "ai/behavior/BehaviorWeaponSelector.h"
#include "ai/steering/Steering.h"
#include "gameplay/LiftComponent.h"
#include "physics/Ray3D.h"
#include "physics/RigidBodyComponent3D.h"

#include <cmath>
#include <vector>

namespace quellor::test {
namespace {

constexpr float kDt = tarsel::test::GameWorld::kDt;

class BotWeaponTest : public HeldBotTest {
protected:
    void SetUp() override
    {
        HeldBotTest::SetUp();
        if (HasFatalFailure())
            return;
        enemy = Player("enemy", "orange", -30.0f, 2.0f, -10.0f);
        orb.Bind(TreeOf(bot)->GetInjector());
        lift.Bind(TreeOf(bot)->GetInjector());
    }

    LiftComponent* Beam() const { return bot->GetComponent<LiftComponent>(); }

    float Visible() const { return TargetingOf(bot)->GetTimeVisible(); }

    Entity* enemy = nullptr;
    BehaviorShootOrb orb;
    BehaviorShootLift lift;
};

TEST_F(BotWeaponTest, TheLiftFailsUntilTheTargetHasBeenVisibleLongerThanTheReactionTimeThenHoldsTheBeam)
{
    DataOf(bot)->accuracy = 1.0f; // the beam goes straight to the enemy
    int failures = 0;
    for (int frame = 0; frame < 60; ++frame) {
        const float visible = TargetingOf(bot)->HasTarget() ? Visible() : 0.0f;
        const BehaviorStatus status = lift.Tick(kDt);
        if (visible <= DataOf(bot)->reactionTime) {
            ASSERT_EQ(status, BehaviorStatus::Failure) << frame << " visible " << visible;
            ASSERT_EQ(Beam()->GetBeamEntity(), nullptr) << frame;
            ++failures;
        } else {
            ASSERT_EQ(status, BehaviorStatus::Running) << frame << " visible " << visible;
            ASSERT_NE(Beam()->GetBeamEntity(), nullptr) << frame;
        }
        Run(1);
    }
    EXPECT_GT(failures, 30);
    EXPECT_LT(failures, 60);
    EXPECT_FALSE(Beam()->GetHeldTargets().empty()) << "the beam holds the enemy";

    // Terminating the leaf ends the beam and resets the aim.
    lift.Abort();
    EXPECT_EQ(Beam()->GetBeamEntity(), nullptr);
    EXPECT_TRUE(lift.IsFirstAim());
    EXPECT_EQ(lift.GetReaimTime(), DataOf(bot)->liftAimInterval);
}

TEST_F(BotWeaponTest, ReAimTimesLieBetweenTheIntervalsEndsAndTrackingStepsByTheAimSpeedAtMost)
{
    DataOf(bot)->liftAimInterval = 0.1f; // below 0.3: the ends swap
    DataOf(bot)->accuracy = 1.0f;        // no aim error
    const Vec4 own(0.0f, 0.0f, 0.0f, 1.0f);
    const Vec4 ahead(0.0f, 0.0f, 20.0f, 1.0f);
    random.Script({0});
    lift.Reaim(own, ahead);
    EXPECT_FLOAT_EQ(lift.GetReaimTime(), 0.1f);
    EXPECT_FALSE(lift.IsFirstAim());
    EXPECT_NEAR(lift.GetAimDirection().z, 1.0f, 1e-6f);
    random.Script({9999});
    lift.Reaim(own, ahead);
    EXPECT_GE(lift.GetReaimTime(), 0.1f);
    EXPECT_LT(lift.GetReaimTime(), 0.3f);

    // The target has moved across: each tracking step turns the aim toward it by no more than
    // a step of liftBeamAimSpeed (0.25) allows, and keeps it a unit vector.
    const Vec4 across(20.0f, 0.0f, 0.0f, 1.0f);
    const float maxTurn = std::asin(DataOf(bot)->liftBeamAimSpeed);
    Vec4 previous = lift.GetAimDirection();
    for (int tick = 0; tick < 4; ++tick) {
        const Ray3D ray = lift.ComputeAim(own, across);
        const Vec4 aim = lift.GetAimDirection();
        EXPECT_NEAR(steering::Length(aim), 1.0f, 1e-5f) << tick;
        EXPECT_EQ(ray.direction.x, aim.x);
        EXPECT_EQ(ray.origin.z, own.z);
        const float turned = std::acos(std::min(1.0f, steering::Dot(aim, previous)));
        EXPECT_GT(turned, 0.01f) << tick;
        EXPECT_LE(turned, maxTurn + 1e-5f) << tick;
        EXPECT_GT(aim.x, previous.x) << "toward the target";
        previous = aim;
    }
}

TEST_F(BotWeaponTest, ATargetAboveTheVerticalLimitEndsTheBeamWhileTheLiftKeepsRunning)
{
    Run(60);
    ASSERT_EQ(lift.Tick(kDt), BehaviorStatus::Running);
    ASSERT_NE(Beam()->GetBeamEntity(), nullptr);
    DataOf(bot)->maxVerticalAimAngle = -1.0f;
    EXPECT_EQ(lift.Tick(kDt), BehaviorStatus::Running);
    EXPECT_EQ(Beam()->GetBeamEntity(), nullptr);
    EXPECT_TRUE(lift.IsFirstAim());
}

TEST_F(BotWeaponTest, ALeafTheSelectorSwitchesAwayFromStaysRunningAndTheChargingWalkStays)
{
    Run(60);
    auto* selector = new BehaviorWeaponSelector;
    selector->AddChild(new BehaviorShootLift);
    selector->AddChild(new BehaviorShootOrb);
    std::unique_ptr<Behavior> owner(selector);
    selector->Bind(TreeOf(bot)->GetInjector());
    DataOf(bot)->liftBias = 0.0f; // the orb only
    ASSERT_EQ(selector->Tick(kDt), BehaviorStatus::Running);
    Behavior* orbLeaf = selector->GetChild(1);
    ASSERT_EQ(selector->GetCurrent(), orbLeaf);
    EXPECT_FLOAT_EQ(MotorOf(bot)->GetSpeed(), 0.7f * MotorOf(bot)->GetBaseSpeed());

    DataOf(bot)->liftBias = 0.5f; // the untagged target: the lift
    ASSERT_EQ(selector->Tick(kDt), BehaviorStatus::Running);
    EXPECT_EQ(selector->GetCurrent(), selector->GetChild(0));
    EXPECT_EQ(orbLeaf->GetStatus(), BehaviorStatus::Running) << "switched away, not ended";
    EXPECT_FLOAT_EQ(MotorOf(bot)->GetSpeed(), 0.7f * MotorOf(bot)->GetBaseSpeed());
}

TEST_F(BotWeaponTest, TheOrbFailsAtFullSpeedUntilTheTargetHasBeenVisibleLongerThanTheReactionTime)
{
    const float base = MotorOf(bot)->GetBaseSpeed();
    int failures = 0;
    for (int frame = 0; frame < 60; ++frame) {
        const float visible = TargetingOf(bot)->HasTarget() ? Visible() : 0.0f;
        const BehaviorStatus status = orb.Tick(kDt);
        if (visible <= DataOf(bot)->reactionTime) {
            ASSERT_EQ(status, BehaviorStatus::Failure) << frame << " visible " << visible;
            ASSERT_EQ(MotorOf(bot)->GetSpeed(), base);
            ++failures;
        } else {
            ASSERT_EQ(status, BehaviorStatus::Running) << frame << " visible " << visible;
        }
        Run(1);
    }
    EXPECT_GT(failures, 30);
    EXPECT_LT(failures, 60);
}

TEST_F(BotWeaponTest, ChargeTimesLieBetweenPointTwoAndTheOrbsChargeTimeAndChargingWalksAtSeventyPercent)
{
    OrbComponent* weapon = bot->GetComponent<OrbComponent>();
    ASSERT_EQ(weapon->GetChargeTime(), 0.7f);
    const float base = MotorOf(bot)->GetBaseSpeed();
    random.Script({0});
    orb.OnInitialize();
    EXPECT_FLOAT_EQ(orb.GetChargeTime(), 0.2f);
    EXPECT_EQ(orb.GetChargeElapsed(), 0.0f);
    EXPECT_FLOAT_EQ(MotorOf(bot)->GetSpeed(), 0.7f * base);
    random.Script({9999});
    orb.OnInitialize();
    EXPECT_GE(orb.GetChargeTime(), 0.2f);
    EXPECT_LT(orb.GetChargeTime(), 0.7f);
    EXPECT_NEAR(orb.GetChargeTime(), 0.69995f, 1e-5f);

    // A charge time below 0.2 swaps the two ends.
    weapon->m_chargeTime = 0.1f;
    random.Script({5000});
    orb.OnInitialize();
    EXPECT_NEAR(orb.GetChargeTime(), 0.15f, 1e-6f);
}

TEST_F(BotWeaponTest, ShotsComeAtLeastASecondApartAndStillComeWhileKnockedBack)
{
    OrbComponent* weapon = bot->GetComponent<OrbComponent>();
    random.Script({0}); // charge 0.2 s
    std::vector<int> shots;
    bool flew = false;
    for (int frame = 0; frame < 240; ++frame) {
        if (frame == 150)
            PlayerOf(bot)->m_stunTimer = 10.0f; // knocked back from here on
        const BehaviorStatus status = orb.Tick(kDt);
        if (orb.GetCooldown() == BehaviorShootOrb::kCooldownSeconds) {
            shots.push_back(frame);
            EXPECT_EQ(orb.GetChargeElapsed(), 0.0f) << "a new charge";
        }
        if (!shots.empty()) {
            ASSERT_EQ(status, BehaviorStatus::Running) << frame;
        }
        PlayerOf(bot)->m_stunTimer = frame >= 150 ? 10.0f : 0.0f;
        Run(1);
        flew = flew || !weapon->GetOrbs().empty();
    }
    ASSERT_GE(shots.size(), 3u);
    for (std::size_t i = 1; i < shots.size(); ++i)
        EXPECT_GE(shots[i] - shots[i - 1], 60) << "shots " << i - 1 << " and " << i;
    EXPECT_GT(shots.back(), 150) << "a shot while knocked back";
    EXPECT_TRUE(flew) << "the orbs fly";
}

TEST_F(BotWeaponTest, ATargetAboveTheVerticalLimitIsNotShotButTheOrbKeepsRunning)
{
    Run(60); // well past the reaction time
    DataOf(bot)->maxVerticalAimAngle = -1.0f; // level counts as above
    ASSERT_FALSE(TargetingOf(bot)->IsWithinVerticalAimAngle());
    for (int frame = 0; frame < 120; ++frame) {
        ASSERT_EQ(orb.Tick(kDt), BehaviorStatus::Running);
        ASSERT_LE(orb.GetCooldown(), 0.0f) << "no shot";
        Run(1);
    }
}

TEST_F(BotWeaponTest, AFailureAfterChargingGivesTheBaseSpeedBack)
{
    Run(60);
    ASSERT_EQ(orb.Tick(kDt), BehaviorStatus::Running);
    EXPECT_FLOAT_EQ(MotorOf(bot)->GetSpeed(), 0.7f * MotorOf(bot)->GetBaseSpeed());
    world->engine->DestroyEntity("enemy", "default");
    Run(1);
    EXPECT_EQ(orb.Tick(kDt), BehaviorStatus::Failure);
    EXPECT_EQ(MotorOf(bot)->GetSpeed(), MotorOf(bot)->GetBaseSpeed());
}

TEST(BotWeaponPriorityTest, TheLiftWinsAnUntaggedTargetAndTheOrbATaggedOne)
{
    const struct {
        float t;
        float lift;
        float orb;
    } figures[] = {{0.0f, 0.5f, 0.005f}, {0.05f, 0.22361f, 0.17474f}, {0.1f, 0.1f, 0.25f}};
    for (const auto& f : figures) {
        EXPECT_NEAR(BehaviorShootLift::Priority(f.t, 0.5f), f.lift, 1e-5f) << f.t;
        EXPECT_NEAR(BehaviorShootOrb::Priority(f.t, 0.5f), f.orb, 1e-5f) << f.t;
    }
    EXPECT_NEAR(BehaviorShootLift::Priority(1.0f, 0.5f), 0.5f * 1.024e-7f, 1e-10f) << "fully tagged";
}

TEST(BotWeaponPriorityTest, TheOrbsPriorityAtTheFiguresOfTheWeaponChoice)
{
    EXPECT_FLOAT_EQ(BehaviorShootOrb::Priority(0.0f, 0.5f), 0.005f);
    EXPECT_NEAR(BehaviorShootOrb::Priority(0.05f, 0.5f), 0.17474f, 1e-5f);
    EXPECT_FLOAT_EQ(BehaviorShootOrb::Priority(0.1f, 0.5f), 0.25f);
    EXPECT_LT(BehaviorShootOrb::Priority(0.005f, 0.5f), 0.0f) << "below 0.01 the orb's priority is negative";
    EXPECT_FLOAT_EQ(BehaviorShootOrb::Priority(1.0f, 2.0f), 2.0f);
}

TEST_F(BotWeaponTest, WithoutALiveTargetTheOrbsPriorityUsesAnUntaggedTarget)
{
    world->engine->DestroyEntity("enemy", "default");
    Run(2);
    EXPECT_FLOAT_EQ(orb.GetPriority(), BehaviorShootOrb::Priority(0.0f, DataOf(bot)->orbBias));
    EXPECT_FLOAT_EQ(lift.GetPriority(), DataOf(bot)->liftBias);
}

TEST_F(BotWeaponTest, TheBeamsTagRaisesTheOrbsPriorityAndLowersTheLifts)
{
    DataOf(bot)->accuracy = 1.0f;
    for (int frame = 0; frame < 120; ++frame) {
        lift.Tick(kDt);
        Run(1);
    }
    const float t = Beam()->GetTagFraction(enemy);
    ASSERT_GT(t, 0.0f) << "two seconds of beam tag the enemy";
    EXPECT_FLOAT_EQ(lift.GetPriority(), BehaviorShootLift::Priority(t, DataOf(bot)->liftBias));
    EXPECT_FLOAT_EQ(orb.GetPriority(), BehaviorShootOrb::Priority(t, DataOf(bot)->orbBias));
    EXPECT_GT(orb.GetPriority(), lift.GetPriority());
}

} // namespace
} // namespace quellor::test
