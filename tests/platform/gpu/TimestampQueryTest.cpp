#include "tests/platform/gpu/GpuDeviceTest.h"
#include "platform/gpu/TimestampQuery.h"
#include "platform/gpu/Texture2D.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace gpu = platform::gpu;

namespace {

using GpuTimestamps = tarsel::test::GpuDeviceTest;

TEST_F(GpuTimestamps, StampsAreOrderedAndOnlyStampedQueriesReadTime)
{
    gpu::TimestampQuery first, second, never;
    std::string error;
    ASSERT_TRUE(first.Create(error)) << error;
    ASSERT_TRUE(second.Create(error)) << error;
    ASSERT_TRUE(never.Create(error)) << error;
    EXPECT_FALSE(first.WasStamped());

    first.Stamp();
    // Some GPU work between the stamps: a texture filled from memory.
    gpu::Texture2D texture;
    ASSERT_TRUE(texture.Create(256, 256, gpu::DataFormat::R8G8B8A8_UNORM, error)) << error;
    second.Stamp();

    const std::uint64_t a = first.GetNanoseconds();
    const std::uint64_t b = second.GetNanoseconds();
    EXPECT_GT(a, 0u);
    EXPECT_GE(b, a);
    EXPECT_EQ(never.GetNanoseconds(), 0u);

    // A moved query keeps its stamp; the emptied one reads nothing and stamps nothing.
    gpu::TimestampQuery moved(std::move(second));
    EXPECT_TRUE(moved.IsValid());
    EXPECT_TRUE(moved.WasStamped());
    EXPECT_EQ(moved.GetNanoseconds(), b);
    EXPECT_FALSE(second.IsValid());
    second.Stamp();
    EXPECT_FALSE(second.WasStamped());
    EXPECT_EQ(second.GetNanoseconds(), 0u);

    first.Reset();
    EXPECT_FALSE(first.IsValid());
    EXPECT_EQ(first.GetNanoseconds(), 0u);
}

} // namespace
