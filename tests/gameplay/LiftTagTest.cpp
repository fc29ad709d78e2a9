// The lift beam's tags, with markers that record what they are asked, and the sounds of a
// burst of fire.
#include "tests/gameplay/WeaponTestKit.h"

#include <cmath>

namespace quellor::test {
namespace {

class LiftTagTest : public WeaponTest {
protected:
    void SetUp() override
    {
        WeaponTest::SetUp();
        shooter = Armed("shooter", "red", 0.0f, 0.0f);
        enemy = Armed("enemy", "blue", 20.0f, 0.0f);
    }

    // Holds the beam on the enemy until the shooter's team has tagged it; the frames it took.
    int BeamUntilTagged(int limit = 60)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            BeamFrame(shooter, enemy);
            if (Tagged("red", enemy))
                return frame;
        }
        return -1;
    }

    Entity* shooter = nullptr;
    Entity* enemy = nullptr;
};

TEST_F(LiftTagTest, ASteadyBeamTagsAfterTheTagTime)
{
    GiveMarkers(shooter);
    const int frames = BeamUntilTagged();
    // 0.25 s of beam time at 1/60 s a frame.
    EXPECT_GE(frames, 15);
    EXPECT_LE(frames, 16);
    EXPECT_TRUE(Data(shooter).m_hasTag);
    EXPECT_EQ(Marker(shooter).shows, 1);
    EXPECT_EQ(Marker(shooter).GetTarget(), enemy);
    EXPECT_EQ(world->PlayCount("tag_added.ogg"), 1u);
    const GameLogicSystem::TeamTag& tag = Tags("red").front().second;
    EXPECT_EQ(tag.target.Get(), enemy);
    EXPECT_EQ(tag.tagger.Get(), shooter);
    // The game logic counts tags down at the end of the frame.
    EXPECT_FLOAT_EQ(tag.timer, Lift(shooter).m_tagLastTime - kDt);

    // The tag stands while the beam stays on its target; each strike restarts its timer.
    Tags("red").front().second.timer = 3.0f;
    BeamFrame(shooter, enemy);
    EXPECT_FLOAT_EQ(Tags("red").front().second.timer, Lift(shooter).m_tagLastTime - kDt);
    EXPECT_EQ(Marker(shooter).shows, 1);
    EXPECT_EQ(world->PlayCount("tag_added.ogg"), 1u);
    EXPECT_EQ(Tags("red").size(), 1u);
}

TEST_F(LiftTagTest, AReacquiredTargetGainsProgressAtOnce)
{
    Lift(shooter).m_tagTime = 100.0f;
    Prop("crate", 0.0f, 5.0f, 20.0f, 1);
    world->Step();
    BeamFrame(shooter, enemy);
    // Something else in the way for a frame, then the enemy again.
    Lift(shooter).Fire(Ray3D{Chest(shooter), (ZOR::float3(0.0f, 5.0f, 20.0f) - Chest(shooter)).Normalized()});
    world->Step();
    EXPECT_NEAR(Held(shooter, enemy)->tagProgress, kDt, 1e-6f);
    BeamFrame(shooter, enemy);
    EXPECT_NEAR(Held(shooter, enemy)->tagProgress, 2.0f * kDt + LiftComponent::kReacquireProgress, 1e-5f);
    // Held without a break, no more is added.
    BeamFrame(shooter, enemy);
    EXPECT_NEAR(Held(shooter, enemy)->tagProgress, 3.0f * kDt + LiftComponent::kReacquireProgress, 1e-5f);
}

TEST_F(LiftTagTest, TheTagFractionFallsWithTheTagTimer)
{
    EXPECT_FLOAT_EQ(Lift(shooter).GetTagFraction(enemy), 0.0f);
    ASSERT_GT(BeamUntilTagged(), 0);
    // Counted down once at the end of the tagging frame.
    EXPECT_FLOAT_EQ(Lift(shooter).GetTagFraction(enemy), 1.0f - kDt / Lift(shooter).m_tagLastTime);
    // The game logic counts tag timers down.
    float& timer = Tags("red").front().second.timer;
    timer = 2.0f;
    EXPECT_FLOAT_EQ(Lift(shooter).GetTagFraction(enemy), 0.25f);
    timer = 0.0f;
    EXPECT_FLOAT_EQ(Lift(shooter).GetTagFraction(enemy), 0.0f);
    timer = 2.0f;
    // Another team's beam sees no tag of its own.
    Entity* other = Armed("other", "blue", -20.0f, 0.0f);
    EXPECT_FLOAT_EQ(Lift(other).GetTagFraction(enemy), 0.0f);
    // A life of no length is no tag, never 0/0.
    for (float life : {0.0f, -1.0f, std::nanf("")}) {
        Lift(shooter).m_tagLastTime = life;
        const float fraction = Lift(shooter).GetTagFraction(enemy);
        EXPECT_EQ(fraction, 0.0f) << life;
    }
    EXPECT_EQ(Lift(shooter).GetTagFraction(nullptr), 0.0f);
}

TEST_F(LiftTagTest, ADyingShooterTakesTheTagBack)
{
    GiveMarkers(shooter);
    ASSERT_GT(BeamUntilTagged(), 0);
    TeamMarker(shooter).SetTarget(enemy);
    TeamMarker(shooter).Show();

    Data(shooter).m_dying = true;
    BeamFrame(shooter, enemy);
    EXPECT_FALSE(Data(shooter).m_hasTag);
    EXPECT_EQ(Marker(shooter).hides, 1);
    EXPECT_EQ(world->PlayCount("tag_removed.ogg"), 1u);
    EXPECT_FALSE(TeamMarker(shooter).shown);
    EXPECT_FALSE(TeamMarker(shooter).hiding);

    // While the marker's hide runs, tagging waits.
    Data(shooter).m_dying = false;
    BeamFrame(shooter, enemy);
    EXPECT_FALSE(Data(shooter).m_hasTag);
    EXPECT_EQ(Marker(shooter).shows, 1);
    Marker(shooter).ClearHiding();
    BeamFrame(shooter, enemy);
    EXPECT_TRUE(Data(shooter).m_hasTag);
    EXPECT_EQ(Marker(shooter).shows, 2);
    EXPECT_EQ(world->PlayCount("tag_added.ogg"), 2u);
}

TEST_F(LiftTagTest, WithoutMarkersTheTagStands)
{
    ASSERT_GT(BeamUntilTagged(), 0);
    EXPECT_TRUE(Data(shooter).m_hasTag);
    for (int frame = 0; frame < 10; ++frame)
        BeamFrame(shooter, enemy);
    EXPECT_TRUE(Data(shooter).m_hasTag);
    EXPECT_EQ(world->PlayCount("tag_added.ogg"), 1u);
    EXPECT_EQ(world->PlayCount("tag_removed.ogg"), 0u);
}

TEST_F(LiftTagTest, NoTagTimeTagsInTheFirstUpdate)
{
    Lift(shooter).m_tagTime = 0.0f;
    EXPECT_EQ(BeamUntilTagged(), 1);
}

TEST_F(LiftTagTest, ABurstSoundsItsBeginningHoldAndEnd)
{
    const int group = Data(shooter).controllerID;
    Lift(shooter).Fire(Aim(shooter, enemy));
    EXPECT_EQ(world->PlayCount("lift_begin.ogg"), 1u);
    EXPECT_TRUE(StartedLooping("lift_hold.ogg"));
    world->Step();
    BeamFrame(shooter, enemy);
    EXPECT_EQ(world->PlayCount("lift_begin.ogg"), 1u);
    EXPECT_EQ(world->PlayCount("lift_hold.ogg"), 1u);

    world->Step();
    EXPECT_EQ(world->PlayCount("lift_end.ogg"), 1u);
    EXPECT_TRUE(world->sound->IsPlaying("lift_hold.ogg", group));
    world->Step();
    EXPECT_FALSE(world->sound->IsPlaying("lift_hold.ogg", group));
    world->Step(3);
    EXPECT_EQ(world->PlayCount("lift_end.ogg"), 1u);

    // A new burst starts both again.
    BeamFrame(shooter, enemy);
    EXPECT_EQ(world->PlayCount("lift_begin.ogg"), 2u);
    EXPECT_EQ(world->PlayCount("lift_hold.ogg"), 2u);
}

} // namespace
} // namespace quellor::test
