// The weapon leaves on a bot at the red spawn point (-30, -30) of the arena, facing +z, with a
// fixed enemy 20 units ahead: the reaction time, charge times from scripted draws, the cooldown
// between shots, the charging walk, the vertical limit, shots while knocked back, and the
// weapon priorities.
#include "tests/ai/BotWorldKit.h"

#include "ai/behavior/BehaviorShootOrb.h"
#include "physics/RigidBodyComponent3D.h"

#include <vector>

namespace quellor::test {
namespace {

constexpr float kDt = tarsel::test::GameWorld::kDt;

class BotWeaponTest : public BotWorldTest {
protected:
    void SetUp() override
    {
        BotWorldTest::SetUp();
        LoadArena();
        bot = HeldBot("bot", "red");
        ASSERT_NE(bot, nullptr);
        enemy = Player("enemy", "orange", -30.0f, 2.0f, -10.0f);
        orb.Bind(TreeOf(bot)->GetInjector());
    }

    float Visible() const { return TargetingOf(bot)->GetTimeVisible(); }

    Entity* bot = nullptr;
    Entity* enemy = nullptr;
    BehaviorShootOrb orb;
};

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
    }
    ASSERT_GE(shots.size(), 3u);
    for (std::size_t i = 1; i < shots.size(); ++i)
        EXPECT_GE(shots[i] - shots[i - 1], 60) << "shots " << i - 1 << " and " << i;
    EXPECT_GT(shots.back(), 150) << "a shot while knocked back";
    EXPECT_FALSE(weapon->GetOrbs().empty()) << "the orbs fly";
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
}

} // namespace
} // namespace quellor::test
