#include "tests/platform/gpu/GpuDeviceTest.h"
#include "platform/gpu/Framebuffer.h"
#include "platform/gpu/Sampler.h"
#include "platform/gpu/SwapChain.h"
#include "platform/gpu/Texture2D.h"

#include <gtest/gtest.h>

#include <memory>

namespace gpu = platform::gpu;

namespace {

using GpuDevice = tarsel::test::GpuDeviceTest;

} // namespace

TEST_F(GpuDevice, ReportsTheRendererAndItsLimits)
{
    EXPECT_TRUE(device.IsCreated());
    EXPECT_NE(device.GetNativeContext(), nullptr);
    EXPECT_FALSE(device.GetRendererName().empty());
    EXPECT_GE(device.GetMaxSamples(), 1u);
}

TEST_F(GpuDevice, TextureRefusesEmptyAndOversizedSizesAndUnknownFormats)
{
    gpu::Texture2D texture;
    std::string error;
    EXPECT_FALSE(texture.Create(0, 16, gpu::DataFormat::R8G8B8A8_UNORM, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(texture.Create(100000, 16, gpu::DataFormat::R8G8B8A8_UNORM, error));
    EXPECT_FALSE(texture.Create(16, 16, gpu::DataFormat::Unknown, error));
    EXPECT_FALSE(texture.IsValid());
}

TEST_F(GpuDevice, TextureKeepsRowsInTheOrderWritten)
{
    gpu::Texture2D texture;
    std::string error;
    ASSERT_TRUE(texture.Create(3, 2, gpu::DataFormat::R8G8B8A8_UNORM, error)) << error;
    std::vector<std::uint8_t> pixels(3 * 2 * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(texture.Write(pixels.data(), error)) << error;
    std::vector<std::uint8_t> back;
    ASSERT_TRUE(texture.Read(back));
    EXPECT_EQ(back, pixels);

    // Moving hands the object over; the source no longer owns it.
    gpu::Texture2D moved = std::move(texture);
    EXPECT_TRUE(moved.IsValid());
    EXPECT_FALSE(texture.IsValid());
    EXPECT_EQ(moved.GetWidth(), 3u);
}

TEST_F(GpuDevice, FramebufferNeedsAtLeastOneUsableTarget)
{
    std::string error;
    gpu::Framebuffer empty;
    EXPECT_FALSE(empty.Create(nullptr, 0, error));
    EXPECT_FALSE(error.empty());

    gpu::Texture2D colour;
    ASSERT_TRUE(colour.Create(8, 8, gpu::DataFormat::R16G16B16A16_FLOAT, error)) << error;
    const gpu::Texture2D* targets[] = {&colour};
    gpu::Framebuffer framebuffer;
    EXPECT_TRUE(framebuffer.Create(targets, 1, error)) << error;
}

TEST_F(GpuDevice, SamplersAreCreatedForEveryFilterAndAddressing)
{
    for (gpu::Filter filter : {gpu::Filter::Point, gpu::Filter::Bilinear, gpu::Filter::Trilinear, gpu::Filter::Anisotropic}) {
        for (gpu::AddressMode address : {gpu::AddressMode::Clamp, gpu::AddressMode::Wrap}) {
            gpu::SamplerDesc desc;
            desc.filter = filter;
            desc.address = address;
            desc.maxAnisotropy = 64; // more than any device offers: limited, not refused
            gpu::Sampler sampler;
            std::string error;
            EXPECT_TRUE(sampler.Create(desc, error)) << error;
            EXPECT_TRUE(sampler.IsValid());
        }
    }
}

TEST_F(GpuDevice, SwapChainScalesTheBackBufferToTheWindow)
{
    gpu::SwapChain chain;
    chain.Create(*window);
    EXPECT_EQ(chain.GetPresentWidth(), 64u);
    EXPECT_EQ(chain.GetPresentHeight(), 48u);
    std::string error;
    ASSERT_EQ(chain.ResizeBuffers(16, 12, error), gpu::SwapChain::BufferResult::Ok) << error;
    std::vector<std::uint8_t> green(16 * 12 * 4);
    for (std::size_t i = 0; i < green.size(); i += 4) {
        green[i + 1] = 255;
        green[i + 3] = 255;
    }
    ASSERT_TRUE(chain.GetBackBuffer().Write(green.data(), error)) << error;
    chain.Blit();
    std::vector<std::uint8_t> shown;
    std::uint32_t w = 0, h = 0;
    ASSERT_TRUE(chain.ReadWindow(shown, w, h));
    ASSERT_EQ(w, 64u);
    ASSERT_EQ(h, 48u);
    for (std::size_t i = 0; i < shown.size(); i += 4)
        ASSERT_EQ(shown[i + 1], 255) << "pixel " << i / 4 << " was not covered";

    EXPECT_EQ(chain.ResizeBuffers(0, 0, error), gpu::SwapChain::BufferResult::TextureFailed);
    EXPECT_FALSE(chain.GetBackBufferTarget().IsValid());
}
