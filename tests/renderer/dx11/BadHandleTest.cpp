// Handles that name nothing usable (another kind, past the table, released) given to every
// operation: each warns and acts as a null handle; nothing reads or writes outside the tables.
#include "tests/renderer/dx11/GpuTestKit.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <thread>

using tarsel::test::StdoutCapture;
using ZOR::Dimension;
using ZOR::Format;
using ZOR::Handle;
using ZOR::ObjectType;
using ZOR::Viewport;

namespace {

class BadHandles : public tarsel::test::GpuTest {
protected:
    struct Operation {
        const char* name;
        ObjectType kind;  // the kind it takes
        bool dispatches;  // picks its work by kind: another valid kind is not an error
        std::function<void(const Handle&)> call;
    };

    std::vector<Operation> Operations()
    {
        ZOR::DXRenderContext& c = Context();
        const std::uint32_t word = 0;
        return {
            {"BindTexture", ObjectType::Texture, false, [&c](const Handle& h) { c.BindTexture(0, h); }},
            {"BindTextures", ObjectType::Texture, false,
             [&c](const Handle& h) {
                 const Handle two[] = {Handle(), h};
                 c.BindTextures(2, two);
             }},
            {"BindRenderTarget", ObjectType::RenderTarget, false, [&c](const Handle& h) { c.BindRenderTarget(h); }},
            {"BindRenderTargets", ObjectType::RenderTarget, false,
             [&c](const Handle& h) {
                 const Handle two[] = {h, Handle()};
                 c.BindRenderTargets(2, two);
             }},
            {"BindVertexShader", ObjectType::VertexShader, false, [&c](const Handle& h) { c.BindVertexShader(h); }},
            {"BindPixelShader", ObjectType::PixelShader, false, [&c](const Handle& h) { c.BindPixelShader(h); }},
            {"BindGeometryShader", ObjectType::GeometryShader, false,
             [&c](const Handle& h) { c.BindGeometryShader(h); }},
            {"BindVertexBuffer", ObjectType::VertexBuffer, false, [&c](const Handle& h) { c.BindVertexBuffer(h, 16); }},
            {"BindVertexBuffers", ObjectType::VertexBuffer, false,
             [&c](const Handle& h) { c.BindVertexBuffers(Handle(), 16, h, 4); }},
            {"BindIndexBuffer", ObjectType::IndexBuffer, false, [&c](const Handle& h) { c.BindIndexBuffer(h); }},
            {"BindConstantBuffer", ObjectType::ConstantBuffer, false,
             [&c](const Handle& h) { c.BindConstantBuffer(1, h, ObjectType::VertexShader); }},
            {"BindConstantBuffers", ObjectType::ConstantBuffer, false,
             [&c](const Handle& h) {
                 const Handle two[] = {Handle(), h};
                 c.BindConstantBuffers(2, two, ObjectType::GeometryShader);
             }},
            {"BindDepthBuffer", ObjectType::DepthBuffer, false,
             [&c](const Handle& h) { EXPECT_FALSE(c.BindDepthBuffer(h)); }},
            {"GetViewport", ObjectType::RenderTarget, false,
             [&c](const Handle& h) { EXPECT_EQ(c.GetViewport(h).size.width, 3u); }},
            {"GetTextureSize", ObjectType::Texture, false,
             [&c](const Handle& h) { EXPECT_EQ(c.GetTextureSize(h).width, 0u); }},
            {"ClearRenderTarget", ObjectType::RenderTarget, false,
             [&c](const Handle& h) { c.ClearRenderTarget(h, 1, 1, 1, 1); }},
            {"ClearDepthBuffer", ObjectType::DepthBuffer, false, [&c](const Handle& h) { c.ClearDepthBuffer(h); }},
            {"ResizeDepthBuffer", ObjectType::DepthBuffer, false,
             [&c](const Handle& h) { c.ResizeDepthBuffer(h, Dimension(4, 4)); }},
            {"CopyData", ObjectType::VertexBuffer, true,
             [&c, word](const Handle& h) { c.CopyData(h, &word, sizeof(word)); }},
            {"Map", ObjectType::ConstantBuffer, true, [&c](const Handle& h) { EXPECT_EQ(c.Map(h), nullptr); }},
            {"CopyResource", ObjectType::Texture, true,
             [&c](const Handle& h) { c.CopyResource(h, Handle(h.GetType(), 0)); }},
            {"Release", ObjectType::Texture, true,
             [&c](const Handle& h) {
                 Handle copy = h;
                 c.Release(copy);
                 EXPECT_FALSE(static_cast<bool>(copy));
             }},
            {"CreateTexture", ObjectType::Texture, false,
             [&c, word](const Handle& h) {
                 Handle copy = h;
                 EXPECT_TRUE(c.CreateTexture(copy, &word, Dimension(1, 1), Format::R8G8B8A8_UNORM));
                 EXPECT_EQ(copy.GetType(), ObjectType::Texture);
                 c.Release(copy);
             }},
        };
    }

    // A live object of every kind, so that "another kind" and "released" handles can be made.
    void MakeOneOfEach()
    {
        ZOR::DXRenderContext& c = Context();
        const std::uint32_t word = 0;
        m_live[ObjectType::Texture] = Handle();
        c.CreateTexture(m_live[ObjectType::Texture], &word, Dimension(1, 1), Format::R8G8B8A8_UNORM);
        m_live[ObjectType::RenderTarget] = Target(3, 3);
        c.CreateDepthBuffer(m_live[ObjectType::DepthBuffer], m_live[ObjectType::RenderTarget], Dimension());
        m_live[ObjectType::VertexShader] = VertexShader(tarsel::test::QuadVS, tarsel::test::QuadLayout());
        m_live[ObjectType::PixelShader] = PixelShader(tarsel::test::ColourPS);
        c.CreateVertexBuffer(m_live[ObjectType::VertexBuffer], ZOR::BufferUsage::Dynamic, 96, nullptr);
        c.CreateIndexBuffer(m_live[ObjectType::IndexBuffer], ZOR::BufferUsage::Dynamic, 24, nullptr);
        c.CreateConstantBuffer(m_live[ObjectType::ConstantBuffer], 16);
        c.SetViewport(Viewport(0, 0, Dimension(3, 3), 0, 1));
    }

    // A released handle of the kind: made, copied, released.
    Handle Released(ObjectType kind)
    {
        ZOR::DXRenderContext& c = Context();
        Handle handle;
        const std::uint32_t word = 0;
        switch (kind) {
        case ObjectType::Texture: c.CreateTexture(handle, &word, Dimension(1, 1), Format::R8G8B8A8_UNORM); break;
        case ObjectType::RenderTarget: handle = Target(2, 2); break;
        case ObjectType::DepthBuffer: c.CreateDepthBuffer(handle, Handle(), Dimension()); break;
        case ObjectType::VertexShader: handle = VertexShader(tarsel::test::QuadVS, tarsel::test::QuadLayout()); break;
        case ObjectType::PixelShader: handle = PixelShader(tarsel::test::ColourPS); break;
        case ObjectType::GeometryShader: return Handle(ObjectType::GeometryShader, 0); // none was ever made
        case ObjectType::VertexBuffer: c.CreateVertexBuffer(handle, ZOR::BufferUsage::Default, 4, &word); break;
        case ObjectType::IndexBuffer: c.CreateIndexBuffer(handle, ZOR::BufferUsage::Default, 4, &word); break;
        default: c.CreateConstantBuffer(handle, 4); break;
        }
        const Handle copy = handle;
        c.Release(handle);
        return copy;
    }

    std::map<ObjectType, Handle> m_live;
};

bool Warned(const std::string& text)
{
    return text.find("Warning: ") != std::string::npos || text.find("must be of the same type") != std::string::npos;
}

} // namespace

TEST_F(BadHandles, AnotherKindPastTheTableOrReleasedWarnsAndActsAsNull)
{
    MakeOneOfEach();
    for (const Operation& op : Operations()) {
        SCOPED_TRACE(op.name);
        // Another kind: a live buffer where anything else is taken, a live texture for buffers;
        // operations that choose their work by kind get a kind that does not exist.
        Handle other = op.kind == ObjectType::VertexBuffer || op.kind == ObjectType::IndexBuffer
                               || op.kind == ObjectType::ConstantBuffer
                           ? m_live[ObjectType::Texture]
                           : m_live[ObjectType::IndexBuffer];
        if (op.dispatches)
            other = Handle(static_cast<ObjectType>(42), 0);
        const Handle cases[] = {other, Handle(op.kind, 1000), Released(op.kind)};
        for (const Handle& handle : cases) {
            SCOPED_TRACE(static_cast<int>(handle.GetType()) * 10000 + static_cast<int>(*handle));
            StdoutCapture out;
            op.call(handle);
            EXPECT_TRUE(Warned(out.Text())) << out.Text();
        }
    }
    EXPECT_TRUE(ErrorBoxes().Requests().empty());
}

TEST_F(BadHandles, BadBindsLeaveNullBehind)
{
    ZOR::DXRenderContext& context = Context();
    MakeOneOfEach();
    const Handle target = BoundTarget(2, 2);
    context.ClearRenderTarget(target, 0, 0, 1, 1);
    UseColourPipeline();
    context.BindPixelShader(PixelShader(tarsel::test::TexturePS));
    const std::uint8_t white[4] = {255, 255, 255, 255};
    Handle texture;
    ASSERT_TRUE(context.CreateTexture(texture, white, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    context.BindTexture(0, texture);
    // A bad texture replaces the good one with nothing: the draw reads zeros.
    context.BindTexture(0, Handle(ObjectType::Texture, 77));
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 0), (std::array<int, 4>{0, 0, 0, 0}));

    // A bad target unbinds: nothing is drawn anywhere.
    context.ClearRenderTarget(target, 0, 0, 1, 1);
    context.BindTexture(0, texture);
    context.BindRenderTarget(Handle(ObjectType::RenderTarget, 99));
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 0), (std::array<int, 4>{0, 0, 255, 255}));

    // A bad vertex buffer: every vertex reads zeros, so the quad collapses to a point.
    context.BindRenderTarget(target);
    context.BindVertexBuffer(Handle(ObjectType::VertexBuffer, 55), 16);
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 0), (std::array<int, 4>{0, 0, 255, 255}));
    // Draws past the end of the buffers, or with indices past it, stay inside them.
    Handle small, indices;
    const float corner[] = {-1, 1, 0, 0};
    ASSERT_TRUE(context.CreateVertexBuffer(small, ZOR::BufferUsage::Static, sizeof(corner), corner));
    const std::uint32_t far[] = {0, 100000, 0xFFFFFFFFu};
    ASSERT_TRUE(context.CreateIndexBuffer(indices, ZOR::BufferUsage::Static, sizeof(far), far));
    context.BindVertexBuffer(small, 16);
    context.BindIndexBuffer(indices);
    context.Draw(3000, 0);
    context.DrawIndexed(3, 0, 0);
    context.DrawIndexed(300, 2, 7);
    context.DrawInstanced(6, 1000, 0, 0xFFFFFFF0u);
    // Nulls unbind quietly.
    StdoutCapture out;
    context.BindVertexBuffer(Handle(), 16);
    context.BindIndexBuffer(Handle());
    context.BindVertexShader(Handle());
    context.BindPixelShader(Handle());
    context.BindTexture(3, Handle());
    context.CopyData(Handle(), white, 4);
    context.ClearRenderTarget(Handle(), 1, 1, 1, 1);
    context.ClearDepthBuffer(Handle());
    context.ResizeDepthBuffer(Handle(), Dimension(2, 2));
    EXPECT_EQ(context.GetTextureSize(Handle()).width, 0u);
    EXPECT_EQ(context.Map(Handle()), nullptr);
    EXPECT_FALSE(context.BindDepthBuffer(Handle()));
    context.Draw(6, 0);
    context.DrawIndexed(6, 0, 0);
    EXPECT_EQ(out.Text(), "");
}

TEST_F(BadHandles, PendingHandlesGoThroughEveryOperationAsNullUntilUploaded)
{
    ZOR::DXRenderContext& context = Context();
    const Handle drawnInto = Target(2, 2);
    context.ClearRenderTarget(drawnInto, 0, 0, 1, 1);
    const std::string vsPath = WriteFile("pending.vs", tarsel::test::QuadVS);
    const std::string psPath = WriteFile("pending.ps", tarsel::test::ColourPS);
    const float quad[] = {-1, 1, 0, 0, 1, -1, 1, 1, 1, 1, 1, 0, -1, 1, 0, 0, -1, -1, 0, 1, 1, -1, 1, 1};
    const std::uint32_t indices[] = {0, 1, 2, 3, 4, 5};
    const std::uint8_t white[4] = {255, 255, 255, 255};
    Handle texture, target, depth, vs, ps, vertices, indexBuffer, constants;
    std::thread([&] {
        EXPECT_TRUE(context.CreateTexture(texture, white, Dimension(1, 1), Format::R8G8B8A8_UNORM));
        EXPECT_TRUE(context.CreateRenderTarget(target, ZOR::RenderTargetPolicy::FixedSize, Format::R8G8B8A8_UNORM,
                                               1.0f, Dimension(2, 2)));
        EXPECT_TRUE(context.CreateDepthBuffer(depth, target, Dimension()));
        EXPECT_TRUE(context.CreateVertexShader(vs, vsPath, tarsel::test::QuadLayout(), true, "main"));
        EXPECT_TRUE(context.CreatePixelShader(ps, psPath, true, "main"));
        EXPECT_TRUE(context.CreateVertexBuffer(vertices, ZOR::BufferUsage::Static, sizeof(quad), quad));
        EXPECT_TRUE(context.CreateIndexBuffer(indexBuffer, ZOR::BufferUsage::Static, sizeof(indices), indices));
        EXPECT_TRUE(context.CreateConstantBuffer(constants, 16));
    }).join();
    ASSERT_EQ(context.GetPendingUploadCount(), 8u);

    // Everything binds; nothing is drawn, read or written while the objects do not exist.
    const float colour[4] = {1, 0, 0, 1};
    context.CopyData(constants, colour, sizeof(colour));
    EXPECT_EQ(context.Map(vertices), nullptr);
    context.Unmap(vertices);
    context.ClearRenderTarget(target, 1, 1, 1, 1);
    context.ClearDepthBuffer(depth);
    context.CopyResource(drawnInto, target);
    EXPECT_EQ(context.GetTextureSize(target).width, 2u);
    context.SetDepthTesting(true);
    context.SetDepthWriting(true);
    EXPECT_TRUE(context.BindDepthBuffer(depth));
    context.BindRenderTarget(target);
    context.BindVertexShader(vs);
    context.BindPixelShader(ps);
    context.BindVertexBuffer(vertices, 16);
    context.BindIndexBuffer(indexBuffer);
    context.BindConstantBuffer(0, constants, ObjectType::PixelShader);
    context.BindTexture(0, texture);
    context.SetViewport(Viewport(0, 0, Dimension(2, 2), 0, 1));
    context.Draw(6, 0);
    context.DrawIndexed(6, 0, 0);
    ZOR::DXRenderContext::ReadBackData data;
    for (const Handle& handle : {texture, target, depth, vertices, indexBuffer, constants})
        EXPECT_FALSE(context.ReadBack(handle, data));
    EXPECT_EQ(Pixel(Read(drawnInto), 0, 0), (std::array<int, 4>{0, 0, 255, 255}));

    // Uploaded, the same bindings draw.
    context.SwapBuffers();
    context.ClearDepthBuffer(depth);
    context.CopyData(constants, colour, sizeof(colour));
    context.DrawIndexed(6, 0, 0);
    EXPECT_EQ(Pixel(Read(target), 1, 1), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_NEAR(Float(Read(depth), 1, 1), 0.0f, 1e-6f);
}
