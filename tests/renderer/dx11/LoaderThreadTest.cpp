// Creation from loader threads while the GL thread draws: handles come at once, the objects
// after the next SwapBuffers; pending slots read as null; releases and failures on the way.
#include "tests/renderer/dx11/GpuTestKit.h"
#include "tests/support/StdoutCapture.h"
#include "tools/writers/ImageWriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <set>
#include <thread>

using tarsel::test::StdoutCapture;
using ZOR::Dimension;
using ZOR::Format;
using ZOR::Handle;
using ZOR::ObjectType;
using ZOR::Viewport;

namespace {

using LoaderThreads = tarsel::test::GpuTest;

tarsel::tools::Image Solid(std::uint32_t size, std::uint8_t seed)
{
    tarsel::tools::Image image;
    image.width = image.height = size;
    for (std::uint32_t i = 0; i < size * size; ++i)
        image.rgba.insert(image.rgba.end(), {seed, static_cast<std::uint8_t>(255 - seed), 0, 255});
    return image;
}

struct Made {
    Handle handle;
    std::vector<std::uint8_t> expected; // first bytes of what a read-back gives
};

} // namespace

TEST_F(LoaderThreads, FiveThreadsCreateWhileTheGlThreadDrawsAndEverythingArrivesAfterSwapping)
{
    ZOR::DXRenderContext& context = Context();
    // Files first: the threads only read them.
    std::vector<std::string> files;
    for (std::uint8_t i = 0; i < 12; ++i) {
        const auto image = Solid(4 + i, static_cast<std::uint8_t>(i * 20));
        files.push_back(i % 2 ? WriteFile("t" + std::to_string(i) + ".dds",
                                          tarsel::tools::WriteDds(image, tarsel::tools::DdsFormat::BGRA8))
                              : WriteFile("t" + std::to_string(i) + ".png", tarsel::tools::WritePng(image)));
    }
    const Handle target = BoundTarget(8, 8);
    UseColourPipeline();
    context.BindPixelShader(PixelShader(tarsel::test::TexturePS));

    constexpr int PerThread = 24;
    std::vector<Made> made[5];
    std::atomic<int> running{5};
    auto worker = [&](int kind) {
        for (int i = 0; i < PerThread; ++i) {
            Made m;
            const std::uint8_t seed = static_cast<std::uint8_t>(kind * 40 + i);
            bool ok = false;
            switch (kind) {
            case 0:
            case 1: {
                const std::size_t file = static_cast<std::size_t>((i * 2 + kind) % 12);
                ok = context.CreateTexture(m.handle, files[file], (i % 3) == 0);
                m.expected = {static_cast<std::uint8_t>(file * 20), static_cast<std::uint8_t>(255 - file * 20), 0,
                              255};
                break;
            }
            case 2: {
                std::vector<std::uint8_t> texels(16 * 4, seed);
                ok = context.CreateTexture(m.handle, texels.data(), Dimension(4, 4), Format::R8G8B8A8_UNORM);
                m.expected.assign(64, seed);
                break;
            }
            case 3: {
                std::vector<std::uint8_t> bytes(48, seed);
                ok = context.CreateVertexBuffer(m.handle, ZOR::BufferUsage::Static, 48, bytes.data());
                m.expected = bytes;
                break;
            }
            default: {
                ok = context.CreateConstantBuffer(m.handle, 20);
                // A memory texture released again at once from the same thread.
                Handle gone;
                const std::uint32_t texel = 0xFFFFFFFFu;
                if (context.CreateTexture(gone, &texel, Dimension(1, 1), Format::R8G8B8A8_UNORM))
                    context.Release(gone);
                break;
            }
            }
            EXPECT_TRUE(ok);
            made[kind].push_back(m);
        }
        --running;
    };
    std::vector<std::thread> threads;
    for (int kind = 0; kind < 5; ++kind)
        threads.emplace_back(worker, kind);
    // The GL thread keeps drawing with whatever the threads made so far.
    int frames = 0;
    while (running.load() > 0 || frames < 3) {
        context.ClearRenderTarget(target, 0, 0, 0, 0);
        context.Draw(6, 0);
        context.SwapBuffers();
        ++frames;
    }
    for (std::thread& thread : threads)
        thread.join();
    context.SwapBuffers();
    EXPECT_EQ(context.GetPendingUploadCount(), 0u);

    std::set<std::pair<int, std::uint32_t>> seen;
    for (int kind = 0; kind < 5; ++kind) {
        for (const Made& m : made[kind]) {
            SCOPED_TRACE(::testing::Message() << "kind " << kind << " handle " << *m.handle);
            EXPECT_TRUE(seen.emplace(static_cast<int>(m.handle.GetType()), *m.handle).second);
            ZOR::DXRenderContext::ReadBackData data;
            ASSERT_TRUE(context.ReadBack(m.handle, data));
            ASSERT_GE(data.bytes.size(), m.expected.size());
            if (!m.expected.empty()) {
                EXPECT_EQ(std::memcmp(data.bytes.data(), m.expected.data(), m.expected.size()), 0);
            }
        }
    }
    EXPECT_TRUE(ErrorBoxes().Requests().empty());
}

TEST_F(LoaderThreads, PendingSlotsReadAsNullUntilTheNextSwap)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = BoundTarget(2, 2);
    UseColourPipeline();
    context.BindPixelShader(PixelShader(tarsel::test::TexturePS));

    Handle texture;
    const std::uint8_t white[4] = {255, 255, 255, 255};
    std::thread([&] {
        EXPECT_TRUE(context.CreateTexture(texture, white, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    }).join();
    ASSERT_TRUE(static_cast<bool>(texture));
    EXPECT_EQ(context.GetPendingUploadCount(), 1u);
    // The size is known at once; the object is not there yet.
    EXPECT_EQ(context.GetTextureSize(texture).width, 1u);
    ZOR::DXRenderContext::ReadBackData data;
    EXPECT_FALSE(context.ReadBack(texture, data));
    context.BindTexture(0, texture);
    context.ClearRenderTarget(target, 1, 0, 0, 1);
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 0), (std::array<int, 4>{0, 0, 0, 0}));

    context.SwapBuffers();
    EXPECT_EQ(Pixel(Read(texture), 0, 0), (std::array<int, 4>{255, 255, 255, 255}));
    // The bound handle now reads the texture, without binding again.
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 0), (std::array<int, 4>{255, 255, 255, 255}));

    // A creation on the GL thread runs what is queued first, in order.
    Handle second;
    std::thread([&] {
        EXPECT_TRUE(context.CreateTexture(second, white, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    }).join();
    Handle third;
    ASSERT_TRUE(context.CreateTexture(third, white, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    EXPECT_EQ(context.GetPendingUploadCount(), 0u);
    EXPECT_TRUE(context.ReadBack(second, data));
}

TEST_F(LoaderThreads, AReleasedPendingSlotIsNeverUploadedAndFreesItsSlot)
{
    ZOR::DXRenderContext& context = Context();
    Handle buffer;
    const std::uint32_t words[2] = {1, 2};
    std::thread([&] { EXPECT_TRUE(context.CreateVertexBuffer(buffer, ZOR::BufferUsage::Static, 8, words)); }).join();
    const Handle pending = buffer;
    StdoutCapture out;
    context.Release(buffer);
    EXPECT_FALSE(static_cast<bool>(buffer));
    context.SwapBuffers();
    EXPECT_EQ(out.Text(), "");
    ZOR::DXRenderContext::ReadBackData data;
    EXPECT_FALSE(context.ReadBack(pending, data));
    Handle reuse;
    ASSERT_TRUE(context.CreateVertexBuffer(reuse, ZOR::BufferUsage::Static, 8, words));
    EXPECT_EQ(reuse, pending);

    // A live object released from another thread goes on the next swap, not at once.
    Handle live = reuse;
    std::thread([&] { context.Release(live); }).join();
    EXPECT_FALSE(static_cast<bool>(live));
    EXPECT_FALSE(context.ReadBack(reuse, data));
    context.SwapBuffers();
    Handle again;
    ASSERT_TRUE(context.CreateVertexBuffer(again, ZOR::BufferUsage::Static, 8, words));
    EXPECT_EQ(again, reuse);
}

TEST_F(LoaderThreads, AFailedUploadLogsItsErrorAndLeavesTheSlotEmpty)
{
    ZOR::DXRenderContext& context = Context();
    const std::string path = WriteFile("broken.vs", "#version 450\nvoid main() { gl_Position = nothing; }\n");
    Handle shader;
    // Reading the file works; compiling it is the GL thread's part, and fails there.
    std::thread([&] {
        EXPECT_TRUE(context.CreateVertexShader(shader, path, tarsel::test::QuadLayout(), true, "main"));
    }).join();
    ASSERT_TRUE(static_cast<bool>(shader));
    StdoutCapture out;
    context.SwapBuffers();
    EXPECT_NE(out.Text().find("Error: Failed to create precompiled vertex shader \"" + path + "\"\n"),
              std::string::npos)
        << out.Text();
    EXPECT_EQ(ErrorBoxes().Requests().size(), 1u);
    // The slot stays taken: the next vertex shader gets the one after it.
    Handle next = VertexShader(tarsel::test::QuadVS, tarsel::test::QuadLayout());
    EXPECT_EQ(*next, *shader + 1);

    // Failures found before any GL work are reported at once, on the calling thread.
    Handle missing;
    StdoutCapture early;
    std::thread([&] {
        EXPECT_FALSE(context.CreateTexture(missing, (Folder() / "none.png").string(), false));
    }).join();
    EXPECT_NE(early.Text().find("Error: Failed to load texture \""), std::string::npos);
    EXPECT_FALSE(static_cast<bool>(missing));
    EXPECT_EQ(context.GetPendingUploadCount(), 0u);
}

TEST_F(LoaderThreads, AFailedReplacementOfAShaderKeepsTheShaderItHad)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = BoundTarget(2, 2);
    UseColourPipeline();
    ColourBuffer(0, 1, 0, 1);
    Handle shader = PixelShader(tarsel::test::ColourPS);
    const Handle before = shader;
    context.BindPixelShader(shader);
    const std::string path = WriteFile("broken.ps", "#version 450\nvoid main() { target0 = nothing; }\n");
    std::thread([&] { EXPECT_TRUE(context.CreatePixelShader(shader, path, true, "main")); }).join();
    EXPECT_EQ(shader, before) << "replaced in place";
    StdoutCapture out;
    context.SwapBuffers();
    EXPECT_NE(out.Text().find("Error: Failed to create precompiled pixel shader \"" + path + "\"\n"), std::string::npos)
        << out.Text();
    // The old program still draws through the same handle.
    context.ClearRenderTarget(target, 1, 0, 0, 1);
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 0), (std::array<int, 4>{0, 255, 0, 255}));
}
