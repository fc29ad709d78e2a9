// The slot tables: which slot a creation takes, re-creation in place, release, buffer sizes on
// the GPU, target sizes and what a display-mode change re-creates.
#include "tests/renderer/dx11/GpuTestKit.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <thread>

using tarsel::test::StdoutCapture;
using ZOR::Dimension;
using ZOR::Format;
using ZOR::Handle;
using ZOR::ObjectType;
using ZOR::RenderTargetPolicy;

namespace {

using ResourceTables = tarsel::test::GpuTest;

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::pair<std::uint32_t, std::uint32_t> SizeOf(ZOR::DXRenderContext& context, const Handle& handle)
{
    const Dimension& size = context.GetTextureSize(handle);
    return {size.width, size.height};
}

using Pair = std::pair<std::uint32_t, std::uint32_t>;

} // namespace

TEST_F(ResourceTables, ReleasedSlotsAreReusedBeforeTheTableGrows)
{
    ZOR::DXRenderContext& context = Context();
    const std::uint8_t texel[4] = {1, 2, 3, 4};
    Handle t[5];
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(context.CreateTexture(t[i], texel, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    EXPECT_EQ(t[2], Handle(ObjectType::Texture, 2));
    const Handle second = t[1];
    context.Release(t[1]);
    EXPECT_FALSE(static_cast<bool>(t[1]));
    ASSERT_TRUE(context.CreateTexture(t[3], texel, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    ASSERT_TRUE(context.CreateTexture(t[4], texel, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    EXPECT_EQ(t[3], second);
    EXPECT_EQ(t[4], Handle(ObjectType::Texture, 3));

    // Kinds have tables of their own.
    Handle buffer;
    ASSERT_TRUE(context.CreateConstantBuffer(buffer, 16));
    EXPECT_EQ(buffer, Handle(ObjectType::ConstantBuffer, 0));
}

TEST_F(ResourceTables, ReCreationKeepsTheHandleAndReplacesTheContents)
{
    ZOR::DXRenderContext& context = Context();
    const std::uint8_t red[4] = {255, 0, 0, 255};
    const std::uint8_t blue[8] = {0, 0, 255, 255, 0, 0, 255, 255};
    Handle texture;
    ASSERT_TRUE(context.CreateTexture(texture, red, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    const Handle first = texture;
    ASSERT_TRUE(context.CreateTexture(texture, blue, Dimension(2, 1), Format::R8G8B8A8_UNORM));
    EXPECT_EQ(texture, first);
    EXPECT_EQ(SizeOf(context, texture), Pair(2, 1));
    const auto pixels = Read(texture);
    EXPECT_EQ(Pixel(pixels, 1, 0), (std::array<int, 4>{0, 0, 255, 255}));

    const std::uint32_t a = 7, b = 9;
    Handle buffer;
    ASSERT_TRUE(context.CreateVertexBuffer(buffer, ZOR::BufferUsage::Static, 4, &a));
    const Handle firstBuffer = buffer;
    ASSERT_TRUE(context.CreateVertexBuffer(buffer, ZOR::BufferUsage::Static, 4, &b));
    EXPECT_EQ(buffer, firstBuffer);
    EXPECT_EQ(Read(buffer).bytes[0], 9);

    // A failed re-creation of a memory texture leaves the slot empty; the handle stays.
    EXPECT_FALSE(context.CreateTexture(texture, red, Dimension(0, 1), Format::R8G8B8A8_UNORM));
    EXPECT_EQ(texture, first);
}

TEST_F(ResourceTables, ASecondReleaseWarnsWithTheKindAndNullsTheHandle)
{
    ZOR::DXRenderContext& context = Context();
    struct Case {
        ObjectType kind;
        const char* warning;
    };
    const Case cases[] = {
        {ObjectType::DepthBuffer, "Warning: This depth buffer was already released.\n"},
        {ObjectType::Texture, "Warning: This texture was already released.\n"},
        {ObjectType::RenderTarget, "Warning: This render target was already released.\n"},
        {ObjectType::VertexShader, "Warning: This vertex shader was already released.\n"},
        {ObjectType::PixelShader, "Warning: This pixel shader was already released.\n"},
        {ObjectType::VertexBuffer, "Warning: This vertex buffer was already released.\n"},
        {ObjectType::IndexBuffer, "Warning: This index buffer was already released.\n"},
        {ObjectType::ConstantBuffer, "Warning: This constant buffer was already released.\n"},
    };
    const std::uint32_t word = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        Handle handle;
        switch (c.kind) {
        case ObjectType::DepthBuffer: ASSERT_TRUE(context.CreateDepthBuffer(handle, Handle(), Dimension())); break;
        case ObjectType::Texture:
            ASSERT_TRUE(context.CreateTexture(handle, &word, Dimension(1, 1), Format::R8G8B8A8_UNORM));
            break;
        case ObjectType::RenderTarget: handle = Target(2, 2); break;
        case ObjectType::VertexShader: handle = VertexShader(tarsel::test::QuadVS, tarsel::test::QuadLayout()); break;
        case ObjectType::PixelShader: handle = PixelShader(tarsel::test::ColourPS); break;
        case ObjectType::VertexBuffer: ASSERT_TRUE(context.CreateVertexBuffer(handle, ZOR::BufferUsage::Default, 4, &word)); break;
        case ObjectType::IndexBuffer: ASSERT_TRUE(context.CreateIndexBuffer(handle, ZOR::BufferUsage::Default, 4, &word)); break;
        default: ASSERT_TRUE(context.CreateConstantBuffer(handle, 4)); break;
        }
        ASSERT_EQ(handle.GetType(), c.kind);
        const Handle copy = handle;
        StdoutCapture out;
        context.Release(handle);
        EXPECT_FALSE(static_cast<bool>(handle));
        Handle again = copy;
        context.Release(again);
        EXPECT_FALSE(static_cast<bool>(again));
        Handle past(c.kind, 1000);
        context.Release(past);
        EXPECT_EQ(out.Text(), std::string(c.warning) + c.warning);
    }
    // The shared null handle is never written; a handle of no kind is only nulled.
    context.Release(Handle::Null());
    EXPECT_FALSE(static_cast<bool>(Handle::Null()));
    Handle back = context.GetBackBuffer();
    context.Release(back);
    EXPECT_FALSE(static_cast<bool>(back));
    EXPECT_TRUE(static_cast<bool>(context.GetBackBuffer()));
}

TEST_F(ResourceTables, ConstantBuffersAreWholeRowsOnTheGpuAndKeepTheRequestedSize)
{
    ZOR::DXRenderContext& context = Context();
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {{1, 16}, {16, 16}, {17, 32}, {64, 64}};
    for (const auto& [requested, made] : sizes) {
        Handle buffer;
        ASSERT_TRUE(context.CreateConstantBuffer(buffer, requested));
        EXPECT_EQ(Read(buffer).bytes.size(), made) << requested;
        EXPECT_EQ(context.GetRequestedBufferSize(buffer), requested);
    }
    // A write up to the GPU size fits without complaint.
    Handle buffer;
    ASSERT_TRUE(context.CreateConstantBuffer(buffer, 17));
    std::uint8_t bytes[40];
    for (std::uint8_t i = 0; i < 40; ++i)
        bytes[i] = i;
    StdoutCapture out;
    context.CopyData(buffer, bytes, 32);
    EXPECT_EQ(out.Text(), "");
    EXPECT_EQ(Read(buffer).bytes[31], 31);
}

TEST_F(ResourceTables, TargetsFollowTheModeAtTheirScaleAndFixedOnesKeepTheirSize)
{
    Display().modes = {{1024, 768, 60, 0}, {1366, 768, 60, 0}};
    WriteConfig("[ZOR_CONFIG]\nWIDTH=1366\nHEIGHT=768\n");
    ZOR::DXRenderContext& context = Context();
    Handle half, quarter, fixed, screen;
    ASSERT_TRUE(context.CreateRenderTarget(half, RenderTargetPolicy::ScaledScreenSize, Format::R8G8B8A8_UNORM, 0.5f,
                                           Dimension()));
    ASSERT_TRUE(context.CreateRenderTarget(quarter, RenderTargetPolicy::ScaledScreenSize, Format::R16_FLOAT, 0.25f,
                                           Dimension()));
    ASSERT_TRUE(context.CreateRenderTarget(fixed, RenderTargetPolicy::FixedSize, Format::R8_UNORM, 0.5f,
                                           Dimension(100, 61)));
    ASSERT_TRUE(context.CreateRenderTarget(screen, RenderTargetPolicy::ScreenSize, Format::R8G8B8A8_UNORM, 0.5f,
                                           Dimension(5, 5)));
    EXPECT_EQ(SizeOf(context, half), Pair(683, 384));
    EXPECT_EQ(SizeOf(context, quarter), Pair(342, 192));
    EXPECT_EQ(SizeOf(context, fixed), Pair(50, 31));
    EXPECT_EQ(SizeOf(context, screen), Pair(1366, 768));
    EXPECT_EQ(Read(quarter).size.width, 342u);
    EXPECT_EQ(context.GetViewport(half).size.height, 384u);

    context.SetDisplayMode(0u);
    EXPECT_EQ(SizeOf(context, half), Pair(512, 384));
    EXPECT_EQ(SizeOf(context, quarter), Pair(256, 192));
    EXPECT_EQ(SizeOf(context, fixed), Pair(50, 31));
    EXPECT_EQ(SizeOf(context, screen), Pair(1024, 768));
    EXPECT_EQ(Read(half).size.width, 512u);
    EXPECT_EQ(Read(fixed).size.width, 50u);
    EXPECT_EQ(context.GetViewport(quarter).size.width, 256u);
}

TEST_F(ResourceTables, ADepthBufferFollowsWhatItIsAttachedTo)
{
    ZOR::DXRenderContext& context = Context();
    Handle target, attached, onBackBuffer, free;
    ASSERT_TRUE(context.CreateRenderTarget(target, RenderTargetPolicy::ScaledScreenSize, Format::R8G8B8A8_UNORM,
                                           0.5f, Dimension()));
    ASSERT_TRUE(context.CreateDepthBuffer(attached, target, Dimension(7, 7)));
    ASSERT_TRUE(context.CreateDepthBuffer(onBackBuffer, Handle(), Dimension(7, 7)));
    EXPECT_EQ(SizeOf(context, attached), Pair(400, 300));
    EXPECT_EQ(SizeOf(context, onBackBuffer), Pair(800, 600));

    context.SetDisplayMode(1u);
    EXPECT_EQ(SizeOf(context, attached), Pair(512, 384));
    EXPECT_EQ(Read(attached).size.width, 512u);
    EXPECT_EQ(SizeOf(context, onBackBuffer), Pair(1024, 768));
    EXPECT_TRUE(ErrorBoxes().Requests().empty());

    // Attached to something that is neither a target nor the back buffer, it keeps the given size,
    // and the empty size a mode change gives it then fails, once, with the depth message.
    ASSERT_TRUE(context.CreateDepthBuffer(free, Handle(ObjectType::Texture, 0), Dimension(9, 5)));
    EXPECT_EQ(SizeOf(context, free), Pair(9, 5));
    StdoutCapture out;
    context.SetDisplayMode(0u);
    EXPECT_TRUE(Contains(out.Text(), "Error: Failed to create the depth buffer texture.\n"));
    EXPECT_EQ(ErrorBoxes().Requests().size(), 1u);
}

TEST_F(ResourceTables, ReleasedSlotsAreNotReCreatedByAModeChange)
{
    ZOR::DXRenderContext& context = Context();
    Handle target, depth;
    ASSERT_TRUE(context.CreateRenderTarget(target, RenderTargetPolicy::ScreenSize, Format::R8G8B8A8_UNORM, 1.0f,
                                           Dimension()));
    // This one could not be re-created: were it tried, it would fail with a box.
    ASSERT_TRUE(context.CreateDepthBuffer(depth, Handle(ObjectType::Texture, 3), Dimension(4, 4)));
    const Handle releasedTarget = target;
    const Handle releasedDepth = depth;
    context.Release(target);
    context.Release(depth);
    StdoutCapture out;
    context.SetDisplayMode(2u);
    EXPECT_EQ(out.Text(), "");
    EXPECT_TRUE(ErrorBoxes().Requests().empty());
    ZOR::DXRenderContext::ReadBackData data;
    EXPECT_FALSE(context.ReadBack(releasedTarget, data));
    EXPECT_FALSE(context.ReadBack(releasedDepth, data));
    // The next target takes the free slot and is made at the new size.
    Handle next;
    ASSERT_TRUE(context.CreateRenderTarget(next, RenderTargetPolicy::ScreenSize, Format::R8G8B8A8_UNORM, 1.0f,
                                           Dimension()));
    EXPECT_EQ(next, releasedTarget);
    EXPECT_EQ(SizeOf(context, next), Pair(1280, 720));
}

TEST_F(ResourceTables, BuffersOfNoBytesAndTargetsOfFormatsThatCannotBeDrawnIntoFail)
{
    ZOR::DXRenderContext& context = Context();
    StdoutCapture out;
    Handle vertices, indices, constants, target, texture;
    EXPECT_FALSE(context.CreateVertexBuffer(vertices, ZOR::BufferUsage::Default, 0, nullptr));
    EXPECT_FALSE(context.CreateIndexBuffer(indices, ZOR::BufferUsage::Dynamic, 0, nullptr));
    EXPECT_FALSE(context.CreateConstantBuffer(constants, 0));
    EXPECT_FALSE(context.CreateTexture(texture, nullptr, Dimension(4, 4), Format::R16_FLOAT));
    EXPECT_FALSE(context.CreateRenderTarget(target, RenderTargetPolicy::FixedSize, Format::R32_UINT, 1.0f,
                                            Dimension(4, 4)));
    EXPECT_FALSE(context.CreateRenderTarget(target, static_cast<RenderTargetPolicy>(9), Format::R8_UNORM, 1.0f,
                                            Dimension(4, 4)));
    const std::string text = out.Text();
    EXPECT_TRUE(Contains(text, "Error: Failed to create vertex buffer of size 0.\n"));
    EXPECT_TRUE(Contains(text, "Error: Failed to create index buffer of size 0.\n"));
    EXPECT_TRUE(Contains(text, "Error: Failed to create constant buffer of size 0.\n"));
    EXPECT_TRUE(Contains(text, "Error: Failed to create texture from memory.\n"));
    EXPECT_TRUE(Contains(text, "Error: Failed to create texture for render target.\n"));
    for (const Handle& handle : {vertices, indices, constants, target, texture})
        EXPECT_FALSE(static_cast<bool>(handle));
    EXPECT_EQ(ErrorBoxes().Requests().size(), 6u);
}

TEST_F(ResourceTables, SlotsInUseCountEveryKindAReservedUploadAndFallOnRelease)
{
    ZOR::DXRenderContext& context = Context();
    const std::size_t before = context.GetSlotsInUse();
    const std::uint32_t word = 1;
    Handle made[6];
    ASSERT_TRUE(context.CreateTexture(made[0], &word, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    made[1] = Target(2, 2);
    ASSERT_TRUE(context.CreateVertexBuffer(made[2], ZOR::BufferUsage::Default, 4, &word));
    ASSERT_TRUE(context.CreateConstantBuffer(made[3], 4));
    ASSERT_TRUE(context.CreateDepthBuffer(made[4], Handle(), Dimension()));
    // Another thread reserves its slot at once; the upload comes at the next present.
    std::thread([&] {
        EXPECT_TRUE(context.CreateTexture(made[5], &word, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    }).join();
    EXPECT_EQ(context.GetSlotsInUse(), before + 6);

    // Re-creation in place takes no new slot.
    ASSERT_TRUE(context.CreateTexture(made[0], &word, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    EXPECT_EQ(context.GetSlotsInUse(), before + 6);

    const Handle released = made[0];
    context.Release(made[0]);
    context.Release(made[5]);
    EXPECT_EQ(context.GetSlotsInUse(), before + 4);
    {
        StdoutCapture out;
        Handle again = released;
        context.Release(again);
    }
    EXPECT_EQ(context.GetSlotsInUse(), before + 4);
    for (int i = 1; i < 5; ++i)
        context.Release(made[i]);
    context.SwapBuffers();
    EXPECT_EQ(context.GetSlotsInUse(), before);
}
