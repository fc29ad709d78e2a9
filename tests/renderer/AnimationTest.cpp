#include "renderer/Animation.h"

#include "tests/support/TempDir.h"
#include "tools/writers/AnimationWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <limits>
#include <span>

namespace {

using tarsel::test::TempDir;
using tarsel::tools::ClipDescription;
using tarsel::tools::WriteAnimation;
using ZOR::Animation;
using ZOR::float3;
using ZOR::float4;

ClipDescription TwoTrackClip()
{
    ClipDescription clip;
    clip.duration = 48.0f;
    clip.ticksPerSecond = 24.0f;
    Animation::Track first;
    first.id = 0;
    first.positionKeys = {{0.0f, float3(1, 2, 3)}, {24.0f, float3(4, 5, 6)}};
    first.rotationKeys = {{0.0f, float4(0, 0, 0, 1)}};
    Animation::Track second;
    second.id = 1;
    second.positionKeys = {{0.0f, float3(0, 3, 0)}};
    second.rotationKeys = {{0.0f, float4(0, 0, 0, 1)}, {12.0f, float4(0, 0.6f, 0, 0.8f)}, {48.0f, float4(0, 0, 0.6f, 0.8f)}};
    clip.tracks = {first, second};
    return clip;
}

std::span<const std::uint8_t> Bytes(const std::string& text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void ExpectSameTracks(const std::vector<Animation::Track>& a, const std::vector<Animation::Track>& b)
{
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t t = 0; t < a.size(); ++t) {
        EXPECT_EQ(a[t].id, b[t].id);
        ASSERT_EQ(a[t].positionKeys.size(), b[t].positionKeys.size());
        ASSERT_EQ(a[t].rotationKeys.size(), b[t].rotationKeys.size());
        for (std::size_t k = 0; k < a[t].positionKeys.size(); ++k) {
            EXPECT_EQ(a[t].positionKeys[k].time, b[t].positionKeys[k].time);
            EXPECT_EQ(std::memcmp(&a[t].positionKeys[k].position, &b[t].positionKeys[k].position, 12), 0);
        }
        for (std::size_t k = 0; k < a[t].rotationKeys.size(); ++k) {
            EXPECT_EQ(a[t].rotationKeys[k].time, b[t].rotationKeys[k].time);
            EXPECT_EQ(std::memcmp(&a[t].rotationKeys[k].rotation, &b[t].rotationKeys[k].rotation, 16), 0);
        }
    }
}

TEST(Animation, RoundTripKeepsHeaderTracksAndKeys)
{
    TempDir dir;
    const ClipDescription clip = TwoTrackClip();
    dir.Write("anims/run.anim", WriteAnimation(clip));
    Animation animation;
    ASSERT_TRUE(animation.Load((dir / "anims/run.anim").string()));
    EXPECT_EQ(animation.GetName(), "run.anim");
    EXPECT_EQ(animation.GetDuration(), 48.0f);
    EXPECT_EQ(animation.GetTicksPerSecond(), 24.0f);
    ExpectSameTracks(animation.GetTracks(), clip.tracks);
    animation.SetDuration(12.5f);
    EXPECT_EQ(animation.GetDuration(), 12.5f);
}

TEST(Animation, NameIsTheTextAfterTheLastSlashOrBackslash)
{
    EXPECT_EQ(Animation::NameFromPath("a/b\\c/walk.anim"), "walk.anim");
    EXPECT_EQ(Animation::NameFromPath("a\\b/c\\walk.anim"), "walk.anim");
    EXPECT_EQ(Animation::NameFromPath("walk.anim"), "walk.anim");

    // A real file under a folder whose name holds a backslash.
    TempDir dir;
    dir.Write("a/b\\c/walk.anim", WriteAnimation(TwoTrackClip()));
    Animation animation;
    ASSERT_TRUE(animation.Load((dir / "a/b\\c/walk.anim").string()));
    EXPECT_EQ(animation.GetName(), "walk.anim");
}

TEST(Animation, ZeroTracksLoadWithTheHeaderDuration)
{
    ClipDescription clip;
    clip.duration = 7.0f;
    Animation animation;
    ASSERT_TRUE(animation.LoadFromMemory(Bytes(WriteAnimation(clip)), "empty.anim"));
    EXPECT_TRUE(animation.GetTracks().empty());
    EXPECT_EQ(animation.GetDuration(), 7.0f);
}

TEST(Animation, ReloadReplacesTracksAndName)
{
    Animation animation;
    ASSERT_TRUE(animation.LoadFromMemory(Bytes(WriteAnimation(TwoTrackClip())), "x/first.anim"));
    ClipDescription other;
    other.duration = 3.0f;
    Animation::Track track;
    track.id = 9;
    track.positionKeys = {{1.0f, float3(7, 7, 7)}};
    other.tracks = {track};
    ASSERT_TRUE(animation.LoadFromMemory(Bytes(WriteAnimation(other)), "y/second.anim"));
    EXPECT_EQ(animation.GetName(), "second.anim");
    ExpectSameTracks(animation.GetTracks(), other.tracks);
}

TEST(Animation, MagicIsComparedUpToItsNul)
{
    std::string bytes = WriteAnimation(TwoTrackClip());
    bytes[14] = 'x';
    bytes[15] = '\x7f';
    Animation animation;
    EXPECT_TRUE(animation.LoadFromMemory(Bytes(bytes), "junk.anim"));

    bytes[13] = 'x'; // the NUL itself
    Animation other;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(other.LoadFromMemory(Bytes(bytes), "bad.anim"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "bad.anim is not a ZOR model! Use the converter tool.\n");
    EXPECT_EQ(other.GetName(), "");
}

TEST(Animation, UnopenableFileFailsSilentlyAndChangesNothing)
{
    TempDir dir;
    Animation animation;
    ASSERT_TRUE(animation.LoadFromMemory(Bytes(WriteAnimation(TwoTrackClip())), "kept.anim"));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(animation.Load((dir / "missing.anim").string()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(animation.GetName(), "kept.anim");
    EXPECT_EQ(animation.GetTracks().size(), 2u);
}

TEST(Animation, EveryTruncationFailsAndLeavesTheClipAsItWas)
{
    const std::string bytes = WriteAnimation(TwoTrackClip());
    ClipDescription previous;
    previous.duration = 99.0f;
    Animation::Track track;
    track.id = 4;
    track.rotationKeys = {{0.0f, float4(1, 0, 0, 0)}};
    previous.tracks = {track};
    Animation animation;
    ASSERT_TRUE(animation.LoadFromMemory(Bytes(WriteAnimation(previous)), "previous.anim"));
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        testing::internal::CaptureStdout();
        const bool loaded = animation.LoadFromMemory(Bytes(bytes.substr(0, size)), "cut.anim");
        const std::string log = testing::internal::GetCapturedStdout();
        EXPECT_FALSE(loaded) << size;
        EXPECT_FALSE(log.empty()) << size;
        EXPECT_EQ(animation.GetName(), "previous.anim");
        EXPECT_EQ(animation.GetDuration(), 99.0f);
        ExpectSameTracks(animation.GetTracks(), previous.tracks);
    }
}

TEST(Animation, CountsNearTwoToThe32FailWithoutAllocating)
{
    const std::string valid = WriteAnimation(TwoTrackClip());
    const auto withWord = [&](std::size_t offset, std::uint32_t value) {
        std::string bytes = valid;
        std::memcpy(bytes.data() + offset, &value, 4);
        return bytes;
    };
    constexpr std::uint32_t huge = std::numeric_limits<std::uint32_t>::max();
    const std::size_t firstTrack = 28;
    for (const std::string& bytes : {withWord(16, huge), withWord(16, huge / 12), withWord(firstTrack + 4, huge),
                                     withWord(firstTrack + 4, huge / 16), withWord(firstTrack + 8, huge),
                                     withWord(firstTrack + 8, huge / 20)}) {
        Animation animation;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(animation.LoadFromMemory(Bytes(bytes), "huge.anim"));
        EXPECT_NE(testing::internal::GetCapturedStdout().find("Failed to load animation \"huge.anim\""),
                  std::string::npos);
    }
}

} // namespace
