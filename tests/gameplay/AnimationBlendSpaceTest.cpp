#include "gameplay/AnimationBlendSpace.h"
#include "gameplay/AnimationClipNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <set>
#include <string>

namespace quellor {
namespace {

TEST(AnimationClipNames, FollowTheNamingScheme)
{
    // One set's plain clips in start order, as the content names them.
    const char* idle[] = {"idle_base.anim",         "idle_up.anim",           "idle_down.anim",
                          "idle_left.anim",         "idle_left_up.anim",      "idle_left_down.anim",
                          "idle_right.anim",        "idle_right_up.anim",     "idle_right_down.anim",
                          "idle_extremeleft.anim",  "idle_extremeleft_up.anim", "idle_extremeleft_down.anim",
                          "idle_extremeright.anim", "idle_extremeright_up.anim", "idle_extremeright_down.anim"};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(BlendSpaceClipName(BlendSpaceClipIndex(ClipSet::Idle, static_cast<ClipDirection>(i / 3),
                                                         static_cast<ClipPitch>(i % 3), false)),
                  idle[i]);
    EXPECT_EQ(AnimationClipName(ClipSet::Idle, ClipDirection::Base, ClipPitch::Level, true), "idle_base_blast.anim");
    EXPECT_EQ(AnimationClipName(ClipSet::Idle, ClipDirection::Base, ClipPitch::Up, true), "idle_up_blast.anim");
    EXPECT_EQ(AnimationClipName(ClipSet::Run, ClipDirection::Left, ClipPitch::Down, false), "run_left_down.anim");
    EXPECT_EQ(AnimationClipName(ClipSet::InAir, ClipDirection::ExtremeLeft, ClipPitch::Up, true),
              "inair_extremeleft_up_blast.anim");

    // The dense index covers the 90 names once each, and the name of an index is its clip's.
    std::set<std::string> names;
    for (int set = 0; set < kClipSetCount; ++set)
        for (int direction = 0; direction < kClipDirectionCount; ++direction)
            for (int pitch = 0; pitch < kClipPitchCount; ++pitch)
                for (const bool blast : {false, true}) {
                    const auto s = static_cast<ClipSet>(set);
                    const auto d = static_cast<ClipDirection>(direction);
                    const auto p = static_cast<ClipPitch>(pitch);
                    const int index = BlendSpaceClipIndex(s, d, p, blast);
                    ASSERT_GE(index, 0);
                    ASSERT_LT(index, kBlendSpaceClipCount);
                    EXPECT_EQ(BlendSpaceClipName(index), AnimationClipName(s, d, p, blast));
                    names.insert(BlendSpaceClipName(index));
                }
    EXPECT_EQ(names.size(), 90u);
    for (const char* damage : DamageClipNames())
        EXPECT_FALSE(names.count(damage)) << damage;
}

// The weights by clip name, zero weights left out.
std::map<std::string, float> Weights(const BlendSpaceWeights& result)
{
    std::map<std::string, float> weights;
    for (int i = 0; i < result.count; ++i)
        if (result.clips[i].weight != 0.0f)
            weights[BlendSpaceClipName(result.clips[i].clip)] += result.clips[i].weight;
    return weights;
}

BlendSpaceInput Input(float moveX, float moveY, float aimX, float aimY)
{
    BlendSpaceInput input;
    input.lastMoveX = moveX;
    input.lastMoveY = moveY;
    input.aimX = aimX;
    input.aimY = aimY;
    return input;
}

TEST(AnimationBlendSpace, DirectionPitchAndShotPickTheWeightedClips)
{
    const float half = std::numbers::sqrt2_v<float> / 2.0f; // the share at 45 degrees
    struct Case {
        const char* what;
        BlendSpaceInput input;
        std::map<std::string, float> expected;
    };
    std::vector<Case> cases;
    const auto add = [&](const char* what, BlendSpaceInput input, std::map<std::string, float> expected) {
        cases.push_back({what, input, std::move(expected)});
    };
    // The aim is +x throughout unless a case says otherwise.
    add("along the negated aim", Input(-1, 0, 1, 0), {{"idle_base.anim", 1.0f}});
    BlendSpaceInput running = Input(0, 1, 1, 0);
    running.moving = true;
    add("perpendicular, s > 0", running, {{"run_right.anim", 1.0f}});
    running = Input(0, -1, 1, 0);
    running.moving = true;
    add("perpendicular, s < 0", running, {{"run_left.anim", 1.0f}});
    add("along the aim", Input(2, 0, 1, 0), {{"idle_extremeright.anim", 1.0f}});
    add("backwards and right", Input(-1, 1, 1, 0), {{"idle_right.anim", 1.0f - half}, {"idle_base.anim", half}});
    add("forwards and left", Input(1, -1, 1, 0), {{"idle_extremeleft.anim", 1.0f - half}, {"idle_left.anim", half}});
    add("forwards and right", Input(1, 1, 1, 0), {{"idle_extremeright.anim", 1.0f - half}, {"idle_right.anim", half}});
    add("a turned aim turns the frame", Input(0, -3, 0, 1), {{"idle_base.anim", 1.0f}});

    BlendSpaceInput up = Input(-1, 0, 1, 0);
    up.aimPitch = 0.25f;
    add("aiming up", up, {{"idle_base.anim", 0.75f}, {"idle_up.anim", 0.25f}});
    BlendSpaceInput down = up;
    down.aimPitch = -0.25f;
    add("aiming down", down, {{"idle_base.anim", 0.75f}, {"idle_down.anim", 0.25f}});
    BlendSpaceInput shot = Input(-1, 0, 1, 0);
    shot.blast = 1.0f;
    add("full shot pose", shot, {{"idle_base_blast.anim", 1.0f}});
    BlendSpaceInput mixed = Input(0, 1, 1, 0);
    mixed.blast = 0.5f;
    mixed.aimPitch = -0.5f;
    add("half shot, half down", mixed,
        {{"idle_right.anim", 0.25f}, {"idle_right_down.anim", 0.25f},
         {"idle_right_blast.anim", 0.25f}, {"idle_right_down_blast.anim", 0.25f}});
    BlendSpaceInput air = Input(0, 1, 1, 0);
    air.onGround = false;
    air.moving = true;
    add("in the air while moving", air, {{"inair_right.anim", 1.0f}});
    air.moving = false;
    add("in the air standing", air, {{"inair_right.anim", 1.0f}});

    for (const Case& c : cases) {
        const BlendSpaceWeights result = ComputeBlendSpace(c.input);
        EXPECT_EQ(result.count, 8) << c.what;
        const auto weights = Weights(result);
        for (const auto& [name, weight] : weights) {
            ASSERT_TRUE(c.expected.count(name)) << c.what << ": " << name << " has weight " << weight;
            EXPECT_NEAR(weight, c.expected.at(name), 1e-6f) << c.what << ": " << name;
        }
        for (const auto& [name, weight] : c.expected)
            EXPECT_TRUE(weights.count(name)) << c.what << ": " << name << " has no weight";
    }
}

TEST(AnimationBlendSpace, WeightsAreSharesThatSumToOne)
{
    for (int step = 0; step < 72; ++step) {
        const float angle = static_cast<float>(step) * std::numbers::pi_v<float> / 36.0f;
        for (const float pitch : {-1.0f, -0.4f, 0.0f, 0.3f, 1.0f})
            for (const float blast : {0.0f, 0.2f, 1.0f}) {
                BlendSpaceInput input = Input(std::cos(angle) * 3.0f, std::sin(angle) * 3.0f, 0.6f, -0.8f);
                input.aimPitch = pitch;
                input.blast = blast;
                const BlendSpaceWeights result = ComputeBlendSpace(input);
                ASSERT_EQ(result.count, 8);
                float sum = 0.0f;
                std::set<int> clips;
                for (int i = 0; i < result.count; ++i) {
                    EXPECT_GE(result.clips[i].weight, 0.0f) << "angle step " << step;
                    sum += result.clips[i].weight;
                    clips.insert(result.clips[i].clip);
                }
                EXPECT_NEAR(sum, 1.0f, 1e-5f) << "angle step " << step << " pitch " << pitch << " blast " << blast;
                EXPECT_EQ(clips.size(), 8u) << "the eight are distinct clips";
            }
    }
}

TEST(AnimationBlendSpace, AnUndefinedDirectionGivesTheBaseClips)
{
    // With c = s = 0 the first row would weigh 1 + 0/0; no weight at all would leave the bind
    // pose. A computer player that has not moved yet, and any other undefined angle, stands in
    // the base clips of its set, split by pitch and shot as usual.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const BlendSpaceInput inputs[] = {Input(0, 0, 1, 0), Input(1, 0, 0, 0), Input(0, 0, 0, 0),
                                      Input(nan, 0, 1, 0), Input(inf, 0, 1, 0)};
    for (const BlendSpaceInput& input : inputs) {
        const std::string what =
            std::to_string(input.lastMoveX) + ", " + std::to_string(input.lastMoveY) + " / " + std::to_string(input.aimX);
        EXPECT_EQ(Weights(ComputeBlendSpace(input)), (std::map<std::string, float>{{"idle_base.anim", 1.0f}})) << what;
        BlendSpaceInput aloft = input;
        aloft.onGround = false;
        aloft.aimPitch = -0.25f;
        aloft.blast = 0.5f;
        EXPECT_EQ(Weights(ComputeBlendSpace(aloft)),
                  (std::map<std::string, float>{{"inair_base.anim", 0.375f},
                                                {"inair_down.anim", 0.125f},
                                                {"inair_base_blast.anim", 0.375f},
                                                {"inair_down_blast.anim", 0.125f}}))
            << what;
    }
}

TEST(AnimationBlendSpace, MovementBeyondEpsilonCounts)
{
    EXPECT_FALSE(IsMoveInput(1.0e-7f, 1.0e-7f));
    EXPECT_FALSE(IsMoveInput(-1.0e-7f, 0.0f));
    EXPECT_FALSE(IsMoveInput(std::numeric_limits<float>::epsilon(), 0.0f));
    EXPECT_TRUE(IsMoveInput(0.0f, 1.3e-7f));
    EXPECT_TRUE(IsMoveInput(-0.5f, 0.0f));
}

} // namespace
} // namespace quellor
