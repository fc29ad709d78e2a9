#include "renderer/AnimationController.h"

#include "tools/writers/AnimationWriter.h"
#include "tools/writers/ModelWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using tarsel::tools::MakeNode;
using ZOR::Animation;
using ZOR::AnimationController;
using ZOR::BlendGroup;
using ZOR::float3;
using ZOR::float4;
using ZOR::float4x4;
using ZOR::Skeleton;

constexpr float kPi = std::numbers::pi_v<float>;
const float3 kRootJoint(1.0f, 2.0f, 3.0f);
const float3 kChildJoint(1.0f, 5.0f, 3.0f);

float4x4 Translation(const float3& t)
{
    return float4x4(1, 0, 0, t.x, 0, 1, 0, t.y, 0, 0, 1, t.z, 0, 0, 0, 1);
}

// Two bones: a root at (1, 2, 3) and a child 3 units above it. Node i drives bone i and the bind
// pose holds translations only, as the content generator writes them.
Skeleton TwoBoneRig()
{
    Skeleton skeleton;
    skeleton.GetNodes() = {MakeNode(-1, Translation(kRootJoint)), MakeNode(0, Translation(kChildJoint - kRootJoint))};
    skeleton.GetBones() = {{0, 2, Translation(-kRootJoint)}, {1, 0, Translation(-kChildJoint)}};
    skeleton.GetNames() = {"root", "child"};
    return skeleton;
}

float4 AxisAngle(const float3& axis, float angle)
{
    return float4(axis.x * std::sin(angle / 2), axis.y * std::sin(angle / 2), axis.z * std::sin(angle / 2),
                  std::cos(angle / 2));
}

// Column-vector rotation matrix of a unit quaternion, written out independently of the code
// under test.
float4x4 Rotation(const float4& q)
{
    const float x = q.x, y = q.y, z = q.z, w = q.w;
    return float4x4(1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w), 0,
                    2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w), 0,
                    2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y), 0, 0, 0, 0, 1);
}

void ExpectMatrixNear(const float4x4& actual, const float4x4& expected, float tolerance, const char* what)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], tolerance) << what << " entry " << i;
}

void ExpectLocal(const Skeleton& skeleton, unsigned node, const float3& position, const float4& rotation,
                 const char* what)
{
    ExpectMatrixNear(skeleton.GetNodes()[node].local, Translation(position) * Rotation(rotation), 1e-5f, what);
}

Animation::Track MakeTrack(std::uint32_t id, std::vector<Animation::PositionKey> positions,
                           std::vector<Animation::RotationKey> rotations)
{
    Animation::Track track;
    track.id = id;
    track.positionKeys = std::move(positions);
    track.rotationKeys = std::move(rotations);
    return track;
}

// Clips are built in memory through the file format, as the game reads them.
Animation MakeClip(const std::string& name, float duration, float ticksPerSecond, std::vector<Animation::Track> tracks)
{
    tarsel::tools::ClipDescription description;
    description.duration = duration;
    description.ticksPerSecond = ticksPerSecond;
    description.tracks = std::move(tracks);
    const std::string bytes = tarsel::tools::WriteAnimation(description);
    Animation clip;
    EXPECT_TRUE(clip.LoadFromMemory({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, name));
    return clip;
}

const float4 kIdentity(0, 0, 0, 1);
const float3 kZ(0, 0, 1), kX(1, 0, 0);

struct ControllerTest : testing::Test {
    Skeleton skeleton = TwoBoneRig();
    AnimationController controller;
    ControllerTest() { controller.SetSkeleton(&skeleton); }

    const float4x4& NodeLocal(unsigned i) const { return skeleton.GetNodes()[i].local; }
};

TEST_F(ControllerTest, FactorOneReproducesTheKeys)
{
    const float4 rootTurn = AxisAngle(kZ, kPi / 2);
    const float4 childTurn = AxisAngle(kX, kPi / 3);
    Animation clip = MakeClip("walk.anim", 20.0f, 1.0f,
                              {MakeTrack(0, {{0, float3(2, 2, 3)}, {20, float3(4, 2, 3)}}, {{0, rootTurn}, {20, rootTurn}}),
                               MakeTrack(1, {{0, float3(0, 3, 0)}}, {{0, childTurn}})});
    controller.AddAnimation(&clip);
    controller.PlayAnimation("walk.anim");
    controller.Update(10.0f);
    ExpectLocal(skeleton, 0, float3(3, 2, 3), rootTurn, "root");
    ExpectLocal(skeleton, 1, float3(0, 3, 0), childTurn, "child");
    const float4x4 rootGlobal = Translation(float3(3, 2, 3)) * Rotation(rootTurn);
    const float4x4 childGlobal = rootGlobal * Translation(float3(0, 3, 0)) * Rotation(childTurn);
    ExpectMatrixNear(skeleton.GetNodes()[1].global, childGlobal, 1e-5f, "child global");
    ASSERT_EQ(controller.GetMatrixList().size(), 2u);
    ExpectMatrixNear(controller.GetMatrixList()[0], rootGlobal * Translation(-kRootJoint), 1e-5f, "bone 0");
    ExpectMatrixNear(controller.GetMatrixList()[1], childGlobal * Translation(-kChildJoint), 1e-5f, "bone 1");
}

TEST_F(ControllerTest, BonesWithoutTracksStayAtTheBasePose)
{
    Animation clip = MakeClip("one.anim", 10.0f, 1.0f, {MakeTrack(0, {{0, float3(5, 5, 5)}}, {{0, AxisAngle(kZ, 1.0f)}})});
    controller.AddAnimation(&clip);
    controller.PlayAnimation("one.anim");
    controller.Update(1.0f);
    ExpectLocal(skeleton, 0, float3(5, 5, 5), AxisAngle(kZ, 1.0f), "animated root");
    ExpectLocal(skeleton, 1, kChildJoint - kRootJoint, kIdentity, "child at base");

    // The base pose is the skeleton's: another one, with the child a unit higher, brings its own.
    Skeleton taller = TwoBoneRig();
    taller.GetBones()[1].offset = Translation(-(kChildJoint + float3(0, 1, 0)));
    controller.SetSkeleton(&taller);
    controller.Update(1.0f);
    ExpectLocal(taller, 1, kChildJoint + float3(0, 1, 0) - kRootJoint, kIdentity, "child at the taller base");
}

TEST_F(ControllerTest, TwoClipsAtHalfGiveHalfOfEachOffset)
{
    Animation a = MakeClip("a.anim", 10.0f, 1.0f, {MakeTrack(0, {{0, kRootJoint + float3(2, 0, 0)}}, {{0, AxisAngle(kZ, 1.2f)}})});
    Animation b = MakeClip("b.anim", 10.0f, 1.0f, {MakeTrack(0, {{0, kRootJoint + float3(0, 4, 0)}}, {{0, kIdentity}})});
    controller.AddAnimation(&a);
    controller.AddAnimation(&b);
    controller.PlayAnimation("a.anim", 0.5f, BlendGroup::All);
    controller.PlayAnimation("b.anim", 0.5f, BlendGroup::All);
    controller.Update(1.0f);
    ExpectLocal(skeleton, 0, kRootJoint + float3(1, 2, 0), AxisAngle(kZ, 0.6f), "half of each");
}

TEST_F(ControllerTest, KeysInterpolateAndExtrapolate)
{
    const float4 quarter = AxisAngle(kZ, kPi / 2);
    Animation clip = MakeClip("keys.anim", 40.0f, 1.0f,
                              {MakeTrack(0, {{10, float3(0, 0, 0)}, {20, float3(10, 0, 0)}, {30, float3(10, 20, 0)}},
                                         {{10, kIdentity}, {20, quarter}})});
    controller.AddAnimation(&clip);
    controller.PlayAnimation("keys.anim");

    controller.Update(15.0f); // halfway between the first two keys
    ExpectLocal(skeleton, 0, float3(5, 0, 0), AxisAngle(kZ, kPi / 4), "lerp and slerp");

    controller.Update(10.0f); // t = 25: between the last position keys, past the last rotation key
    ExpectLocal(skeleton, 0, float3(10, 10, 0), quarter, "after the last rotation key");

    controller.Update(10.0f); // t = 35: past every key
    ExpectLocal(skeleton, 0, float3(10, 20, 0), quarter, "after the last key");

    controller.PlayAnimation("keys.anim"); // restart: t = 5, before the first key
    controller.Update(5.0f);
    ExpectLocal(skeleton, 0, float3(-5, 0, 0), AxisAngle(kZ, -kPi / 4), "extrapolated before the first key");
}

struct TimelineTest : ControllerTest {
    // Position x equals the sample time in ticks over 0..10.
    Animation clip = MakeClip("line.anim", 10.0f, 1.0f, {MakeTrack(0, {{0, float3(0, 0, 0)}, {10, float3(10, 0, 0)}}, {{0, kIdentity}})});
    TimelineTest()
    {
        controller.AddAnimation(&clip);
        controller.PlayAnimation("line.anim");
    }
    float SampledTime() const { return NodeLocal(0).m[3]; }
};

TEST_F(TimelineTest, LoopingRestartsAndSamplesTheRemainder)
{
    controller.SetAnimationSpeed(2.0f);
    controller.Update(3.0f);
    EXPECT_NEAR(SampledTime(), 6.0f, 1e-5f);
    controller.Update(3.0f); // 12 ticks: past the end
    EXPECT_NEAR(SampledTime(), 2.0f, 1e-5f);
    controller.Update(1.0f); // the time restarted at 0, so 2 ticks again
    EXPECT_NEAR(SampledTime(), 2.0f, 1e-5f);
}

TEST_F(TimelineTest, NonLoopingClipHoldsItsEnd)
{
    controller.SetLoop(false);
    EXPECT_FALSE(controller.IsLooping());
    controller.Update(25.0f);
    EXPECT_NEAR(SampledTime(), 10.0f, 1e-5f);
    controller.Update(1.0f);
    EXPECT_NEAR(SampledTime(), 10.0f, 1e-5f);
}

TEST_F(TimelineTest, TimeOffsetShiftsTheSampleOnlyOncePlayed)
{
    controller.SetAnimTimeOffset("line.anim", 4.0f);
    controller.Update(3.0f);
    EXPECT_NEAR(SampledTime(), 7.0f, 1e-5f);

    Animation other = MakeClip("other.anim", 10.0f, 1.0f, {MakeTrack(0, {{0, float3(0, 0, 0)}, {10, float3(10, 0, 0)}}, {{0, kIdentity}})});
    controller.AddAnimation(&other);
    controller.SetAnimTimeOffset("other.anim", 4.0f); // not played: ignored
    controller.SetBlendFactor("other.anim", 1.0f);    // not played: ignored
    controller.PlayAnimation("other.anim");
    controller.Update(3.0f);
    EXPECT_NEAR(SampledTime(), 3.0f, 1e-5f);
}

TEST_F(TimelineTest, PausedUnskinnedOrIdleControllersChangeNothing)
{
    controller.Update(2.0f);
    const auto matrices = controller.GetMatrixList();
    const float4x4 local = NodeLocal(0);

    controller.SetPause(true);
    EXPECT_TRUE(controller.IsPaused());
    controller.Update(5.0f);
    ExpectMatrixNear(controller.GetMatrixList()[0], matrices[0], 0.0f, "paused");
    controller.SetPause(false);
    controller.Update(0.0f); // the paused frames did not advance the time
    EXPECT_NEAR(SampledTime(), 2.0f, 1e-5f);

    AnimationController unskinned;
    unskinned.AddAnimation(&clip);
    unskinned.PlayAnimation("line.anim");
    unskinned.Update(4.0f);
    EXPECT_TRUE(unskinned.GetMatrixList().empty());
    ExpectMatrixNear(NodeLocal(0), local, 0.0f, "no skeleton");

    AnimationController idle;
    idle.SetSkeleton(&skeleton);
    idle.Update(4.0f);
    ExpectMatrixNear(idle.GetMatrixList()[0], float4x4(), 0.0f, "nothing playing");
    ExpectMatrixNear(NodeLocal(0), local, 0.0f, "nothing playing");
}

TEST_F(TimelineTest, ZeroFactorOrClearedClipsContributeNothing)
{
    controller.SetBlendFactor("line.anim", 0.0f);
    controller.Update(5.0f);
    ExpectLocal(skeleton, 0, kRootJoint, kIdentity, "factor 0");

    controller.Clear();
    EXPECT_TRUE(controller.HasAnimation("line.anim"));
    controller.Update(1.0f); // nothing playing: the nodes keep the last pose
    ExpectLocal(skeleton, 0, kRootJoint, kIdentity, "cleared");

    // A clip removed while it plays leaves the blend with its factor: nothing is left to set.
    controller.PlayAnimation("line.anim", 0.5f, ZOR::BlendGroup::All);
    controller.RemoveAnimation("line.anim");
    EXPECT_FALSE(controller.HasAnimation("line.anim"));
    EXPECT_FALSE(controller.IsPlaying("line.anim"));
    controller.SetBlendFactor("line.anim", 0.7f);
    EXPECT_EQ(controller.GetBlendFactor("line.anim"), 0.0f);
    controller.PlayAnimation("line.anim"); // unknown now: nothing starts
    controller.Update(1.0f);
    ExpectLocal(skeleton, 0, kRootJoint, kIdentity, "removed");
}

TEST_F(TimelineTest, StopAnimationReturnsTheMatricesToIdentity)
{
    controller.Update(5.0f);
    ASSERT_NE(controller.GetMatrixList()[0].m[3], 0.0f);
    controller.StopAnimation();
    ASSERT_EQ(controller.GetMatrixList().size(), 2u);
    ExpectMatrixNear(controller.GetMatrixList()[0], float4x4(), 0.0f, "stopped");
}

TEST_F(ControllerTest, SinglePlayStopsTheOthersAndAddKeepsTheFirstOfAName)
{
    Animation a = MakeClip("same.anim", 10.0f, 1.0f, {MakeTrack(0, {{0, kRootJoint + float3(1, 0, 0)}}, {{0, kIdentity}})});
    Animation b = MakeClip("same.anim", 10.0f, 1.0f, {MakeTrack(0, {{0, kRootJoint + float3(0, 7, 0)}}, {{0, kIdentity}})});
    Animation c = MakeClip("c.anim", 10.0f, 1.0f, {MakeTrack(0, {{0, kRootJoint + float3(0, 0, 3)}}, {{0, kIdentity}})});
    controller.AddAnimation(&a);
    controller.AddAnimation(&b); // same name: the first stays
    controller.AddAnimation(&c);
    controller.PlayAnimation("c.anim", 1.0f, BlendGroup::All);
    controller.PlayAnimation("same.anim");
    controller.Update(1.0f);
    ExpectLocal(skeleton, 0, kRootJoint + float3(1, 0, 0), kIdentity, "only the first clip of the name");
}

TEST_F(ControllerTest, BoneTransformIsTheProductUpTheBoneChain)
{
    Animation clip = MakeClip("t.anim", 10.0f, 1.0f,
                              {MakeTrack(0, {{0, kRootJoint + float3(1, 0, 0)}}, {{0, kIdentity}}),
                               MakeTrack(1, {{0, float3(0, 3, 2)}}, {{0, kIdentity}})});
    controller.AddAnimation(&clip);
    controller.PlayAnimation("t.anim");
    controller.Update(1.0f);
    const auto& m = controller.GetMatrixList();
    ExpectMatrixNear(controller.GetBoneTransform(0), m[0], 0.0f, "root");
    ExpectMatrixNear(controller.GetBoneTransform(1), m[1] * m[0], 1e-6f, "child");
    ExpectMatrixNear(controller.GetBoneTransform(2), float4x4(), 0.0f, "past the bones");
    ExpectMatrixNear(controller.GetBoneTransform(1000), float4x4(), 0.0f, "far past the bones");
}

TEST_F(ControllerTest, TracksWithKeysOfOneKindKeepTheBaseForTheOther)
{
    Animation clip = MakeClip("half.anim", 10.0f, 1.0f,
                              {MakeTrack(0, {{0, kRootJoint + float3(0, 1, 0)}}, {}),
                               MakeTrack(1, {}, {{0, AxisAngle(kX, 0.5f)}})});
    controller.AddAnimation(&clip);
    controller.PlayAnimation("half.anim");
    controller.Update(1.0f);
    ExpectLocal(skeleton, 0, kRootJoint + float3(0, 1, 0), kIdentity, "positions only");
    ExpectLocal(skeleton, 1, kChildJoint - kRootJoint, AxisAngle(kX, 0.5f), "rotations only");
}

TEST(AnimationControllerMends, NullClipIsIgnoredWithAWarning)
{
    AnimationController controller;
    testing::internal::CaptureStdout();
    controller.AddAnimation(nullptr);
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(log.rfind("Warning: ", 0), 0u) << log;
    EXPECT_FALSE(controller.HasAnimation(""));
}

// A track drives the node its id names, wherever it stands in the clip: a clip need not carry
// one track per bone in bone order, and an empty track must not shift the ones after it.
TEST_F(ControllerTest, TracksDriveTheNodeTheirIdNames)
{
    const float4 turn = AxisAngle(kZ, 0.7f);
    Animation single = MakeClip("single.anim", 10.0f, 1.0f, {MakeTrack(1, {{0, float3(0, 4, 0)}}, {{0, turn}})});
    controller.AddAnimation(&single);
    controller.PlayAnimation("single.anim");
    controller.Update(1.0f);
    ExpectLocal(skeleton, 0, kRootJoint, kIdentity, "root without a track");
    ExpectLocal(skeleton, 1, float3(0, 4, 0), turn, "child driven by track id 1");

    Animation reordered = MakeClip("reordered.anim", 10.0f, 1.0f,
                                   {MakeTrack(0, {}, {}), MakeTrack(1, {{0, float3(0, 6, 0)}}, {{0, kIdentity}}),
                                    MakeTrack(0, {{0, float3(7, 2, 3)}}, {{0, turn}})});
    controller.AddAnimation(&reordered);
    controller.PlayAnimation("reordered.anim");
    controller.Update(1.0f);
    ExpectLocal(skeleton, 0, float3(7, 2, 3), turn, "root from the last track");
    ExpectLocal(skeleton, 1, float3(0, 6, 0), kIdentity, "child after an empty track");
}

TEST_F(ControllerTest, TracksForNodesWithoutABoneAreIgnoredWithOneWarning)
{
    Animation clip = MakeClip("many.anim", 10.0f, 1.0f,
                              {MakeTrack(5, {{0, float3(5, 9, 9)}}, {{0, AxisAngle(kZ, 0.5f)}}),
                               MakeTrack(0, {{0, float3(0, 9, 9)}}, {{0, kIdentity}}),
                               MakeTrack(2, {{0, float3(2, 9, 9)}}, {{0, AxisAngle(kZ, 0.2f)}}),
                               MakeTrack(1, {{0, float3(1, 9, 9)}}, {{0, AxisAngle(kZ, 0.1f)}})});
    controller.AddAnimation(&clip);
    controller.PlayAnimation("many.anim");
    testing::internal::CaptureStdout();
    controller.Update(1.0f);
    controller.Update(1.0f);
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(log.rfind("Warning: ", 0), 0u) << log;
    EXPECT_NE(log.find("many.anim"), std::string::npos) << log;
    EXPECT_EQ(log.find("Warning: ", 1), std::string::npos) << "warned more than once: " << log;
    ExpectLocal(skeleton, 0, float3(0, 9, 9), kIdentity, "track 0");
    ExpectLocal(skeleton, 1, float3(1, 9, 9), AxisAngle(kZ, 0.1f), "track 1");
}

TEST(AnimationControllerMends, NodeParentPastTheBonesIsARoot)
{
    // Four nodes, two bones: bone 1 is driven by node 3, whose parent node 2 names no bone.
    Skeleton skeleton;
    const float3 joint(4, 0, 0);
    skeleton.GetNodes() = {MakeNode(-1, float4x4()), MakeNode(0, float4x4()), MakeNode(1, float4x4()),
                           MakeNode(2, Translation(joint))};
    skeleton.GetBones() = {{0, 2, float4x4()}, {3, 0, Translation(-joint)}};
    AnimationController controller;
    controller.SetSkeleton(&skeleton);
    Animation clip = MakeClip("root.anim", 10.0f, 1.0f, {MakeTrack(0, {{0, float3(0, 1, 0)}}, {{0, kIdentity}})});
    controller.AddAnimation(&clip);
    controller.PlayAnimation("root.anim");
    controller.Update(1.0f);
    // Record 1 (bone 1's base) is written to node 1: the bone's bind pose taken as a root.
    ExpectLocal(skeleton, 1, joint, kIdentity, "base of a bone whose parent names no bone");
}

TEST_F(ControllerTest, EqualKeyTimesTakeTheFirstKey)
{
    Animation clip = MakeClip("flat.anim", 10.0f, 1.0f,
                              {MakeTrack(0, {{5, float3(1, 1, 1)}, {5, float3(9, 9, 9)}},
                                         {{5, AxisAngle(kZ, 0.3f)}, {5, AxisAngle(kZ, 1.3f)}})});
    controller.AddAnimation(&clip);
    controller.PlayAnimation("flat.anim");
    controller.Update(5.0f);
    ExpectLocal(skeleton, 0, float3(1, 1, 1), AxisAngle(kZ, 0.3f), "equal times");
}

TEST_F(ControllerTest, DurationZeroOrNegativeSamplesTheStart)
{
    Animation clip = MakeClip("zero.anim", 0.0f, 1.0f,
                              {MakeTrack(0, {{0, float3(0, 0, 0)}, {10, float3(10, 0, 0)}}, {{0, kIdentity}})});
    controller.AddAnimation(&clip);
    controller.PlayAnimation("zero.anim");
    controller.Update(3.0f);
    ExpectLocal(skeleton, 0, float3(0, 0, 0), kIdentity, "duration 0");

    controller.SetDuration("zero.anim", -5.0f);
    EXPECT_EQ(clip.GetDuration(), -5.0f);
    controller.SetLoop(false);
    controller.Update(3.0f);
    ExpectLocal(skeleton, 0, float3(0, 0, 0), kIdentity, "negative duration");
}

TEST(AnimationControllerMends, BoneChainCycleEnds)
{
    Skeleton skeleton;
    skeleton.GetNodes() = {MakeNode(-1, float4x4()), MakeNode(-1, float4x4())};
    skeleton.GetBones() = {{0, 1, Translation(float3(1, 0, 0))}, {1, 0, Translation(float3(0, 1, 0))}};
    AnimationController controller;
    controller.SetSkeleton(&skeleton);
    Animation clip = MakeClip("c.anim", 10.0f, 1.0f, {MakeTrack(0, {{0, float3(0, 0, 0)}}, {{0, kIdentity}})});
    controller.AddAnimation(&clip);
    controller.PlayAnimation("c.anim");
    controller.Update(1.0f);
    const auto& m = controller.GetMatrixList();
    ExpectMatrixNear(controller.GetBoneTransform(0), m[0] * m[1], 1e-6f, "two steps, then stop");
}

} // namespace
