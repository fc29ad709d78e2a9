// What the back end draws, read back from its targets: the conventions the renderer was
// designed for (origin, depth range, blending, culling, instancing, integer inputs, several
// targets, texture reads and sampler states).
#include "tests/renderer/dx11/GpuTestKit.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>

using tarsel::test::StdoutCapture;
using ZOR::Dimension;
using ZOR::Format;
using ZOR::Handle;
using ZOR::ObjectType;
using ZOR::Viewport;

namespace {

using DrawConformance = tarsel::test::GpuTest;

constexpr int Tolerance = 2;

void ExpectPixel(const std::array<int, 4>& pixel, int r, int g, int b, int a, const std::string& where)
{
    EXPECT_NEAR(pixel[0], r, Tolerance) << where;
    EXPECT_NEAR(pixel[1], g, Tolerance) << where;
    EXPECT_NEAR(pixel[2], b, Tolerance) << where;
    EXPECT_NEAR(pixel[3], a, Tolerance) << where;
}

} // namespace

TEST_F(DrawConformance, TheTopOfClipSpaceAndOfTheViewportAndTheFirstTextureRowAreRowZero)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = BoundTarget(4, 4);
    context.ClearRenderTarget(target, 0, 0, 0, 1);
    UseColourPipeline();
    ColourBuffer(1, 0, 0, 1);
    const Handle upperHalf = Quad(-1, 0, 1, 1);
    context.BindVertexBuffer(upperHalf, 16);
    context.Draw(6, 0);
    auto pixels = Read(target);
    ExpectPixel(Pixel(pixels, 0, 0), 255, 0, 0, 255, "row 0");
    ExpectPixel(Pixel(pixels, 3, 1), 255, 0, 0, 255, "row 1");
    ExpectPixel(Pixel(pixels, 0, 2), 0, 0, 0, 255, "row 2");
    ExpectPixel(Pixel(pixels, 3, 3), 0, 0, 0, 255, "row 3");

    // A viewport's y counts from the top as well.
    context.ClearRenderTarget(target, 0, 0, 0, 1);
    UseColourPipeline();
    context.SetViewport(Viewport(0, 3, Dimension(4, 1), 0, 1));
    context.Draw(6, 0);
    pixels = Read(target);
    ExpectPixel(Pixel(pixels, 2, 3), 255, 0, 0, 255, "viewport row 3");
    ExpectPixel(Pixel(pixels, 2, 0), 0, 0, 0, 255, "outside the viewport");

    // Texture row 0 is read at v = 0, which the quad puts at its top.
    const std::uint8_t texels[] = {255, 0, 0, 255, 255, 0, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255};
    Handle texture;
    ASSERT_TRUE(context.CreateTexture(texture, texels, Dimension(2, 2), Format::R8G8B8A8_UNORM));
    context.BindPixelShader(PixelShader(tarsel::test::TexturePS));
    context.BindTexture(0, texture);
    context.SetViewport(Viewport(0, 0, Dimension(4, 4), 0, 1));
    context.Draw(6, 0);
    pixels = Read(target);
    ExpectPixel(Pixel(pixels, 1, 0), 255, 0, 0, 255, "texture row 0");
    ExpectPixel(Pixel(pixels, 1, 3), 0, 255, 0, 255, "texture row 1");
}

namespace {

// Vertex stage with a depth: POSITION (float2) at the z of vertex constant buffer 0.
const char* const DepthVS = R"(#version 450
layout(location = 0) in vec2 POSITION;
layout(location = 1) in vec2 UV;
layout(std140, row_major, binding = 0) uniform Object { vec4 depth; };
layout(location = 0) out vec2 uv;
void main()
{
    uv = UV;
    gl_Position = vec4(POSITION, depth.x, 1.0);
}
)";

struct DepthRig {
    Handle target;
    Handle depth;
    Handle zBuffer;
    Handle vs;
};

} // namespace

class DepthConformance : public tarsel::test::GpuTest {
protected:
    DepthRig MakeRig(std::uint32_t size = 4)
    {
        ZOR::DXRenderContext& context = Context();
        DepthRig rig;
        rig.target = Target(size, size);
        EXPECT_TRUE(context.CreateDepthBuffer(rig.depth, rig.target, Dimension()));
        EXPECT_TRUE(context.CreateConstantBuffer(rig.zBuffer, 16));
        context.BindConstantBuffer(0, rig.zBuffer, ObjectType::VertexShader);
        rig.vs = VertexShader(DepthVS, tarsel::test::QuadLayout());
        context.SetViewport(Viewport(0, 0, Dimension(size, size), 0, 1));
        return rig;
    }
    void DrawAt(const DepthRig& rig, float z, float r, float g, float b)
    {
        ZOR::DXRenderContext& context = Context();
        const float depth[4] = {z, 0, 0, 0};
        context.CopyData(rig.zBuffer, depth, sizeof(depth));
        UseColourPipeline();
        context.BindVertexShader(rig.vs);
        ColourBuffer(r, g, b, 1);
        context.Draw(6, 0);
    }
};

TEST_F(DepthConformance, DepthRunsFromZeroToOneAndTestsLess)
{
    ZOR::DXRenderContext& context = Context();
    const DepthRig rig = MakeRig();
    context.ClearRenderTarget(rig.target, 0, 0, 0, 1);
    context.ClearDepthBuffer(rig.depth);
    EXPECT_NEAR(Float(Read(rig.depth), 1, 1), 1.0f, 1e-6f);

    context.SetDepthTesting(true);
    context.SetDepthWriting(true);
    ASSERT_TRUE(context.BindDepthBuffer(rig.depth));
    context.BindRenderTarget(rig.target);
    DrawAt(rig, 0.25f, 1, 0, 0);
    EXPECT_NEAR(Float(Read(rig.depth), 2, 2), 0.25f, 1e-5f);
    EXPECT_EQ(Pixel(Read(rig.target), 2, 2), (std::array<int, 4>{255, 0, 0, 255}));

    // Farther fails the test; nearer passes; z = 0 is on the near plane, not clipped.
    DrawAt(rig, 0.5f, 0, 255, 0);
    EXPECT_EQ(Pixel(Read(rig.target), 2, 2), (std::array<int, 4>{255, 0, 0, 255}));
    DrawAt(rig, 0.0f, 0, 0, 1);
    EXPECT_NEAR(Float(Read(rig.depth), 0, 3), 0.0f, 1e-6f);
    EXPECT_EQ(Pixel(Read(rig.target), 0, 3), (std::array<int, 4>{0, 0, 255, 255}));
    // Less, not less-or-equal: the same depth again does not pass.
    DrawAt(rig, 0.0f, 1, 1, 1);
    EXPECT_EQ(Pixel(Read(rig.target), 0, 3), (std::array<int, 4>{0, 0, 255, 255}));
}

TEST_F(DepthConformance, TheDepthStateIsTakenWhenTheTargetIsBound)
{
    ZOR::DXRenderContext& context = Context();
    const DepthRig rig = MakeRig();
    context.ClearRenderTarget(rig.target, 0, 0, 0, 1);
    context.ClearDepthBuffer(rig.depth);
    context.SetDepthTesting(true);
    context.SetDepthWriting(true);
    context.BindDepthBuffer(rig.depth);
    context.BindRenderTarget(rig.target);
    // Switching both off changes nothing until the next bind: 0.5 is still written...
    context.SetDepthTesting(false);
    context.SetDepthWriting(false);
    DrawAt(rig, 0.5f, 1, 0, 0);
    EXPECT_NEAR(Float(Read(rig.depth), 1, 1), 0.5f, 1e-5f);
    // ...and 0.75 still fails the test.
    DrawAt(rig, 0.75f, 0, 1, 0);
    EXPECT_EQ(Pixel(Read(rig.target), 1, 1), (std::array<int, 4>{255, 0, 0, 255}));
    // Bound again with both off: no depth view, nothing tested or written.
    context.BindRenderTarget(rig.target);
    DrawAt(rig, 0.75f, 0, 1, 0);
    EXPECT_EQ(Pixel(Read(rig.target), 1, 1), (std::array<int, 4>{0, 255, 0, 255}));
    EXPECT_NEAR(Float(Read(rig.depth), 1, 1), 0.5f, 1e-5f);
}

TEST_F(DepthConformance, ClearsIgnoreWriteMasksAndBlending)
{
    ZOR::DXRenderContext& context = Context();
    const DepthRig rig = MakeRig();
    context.SetDepthTesting(true);
    context.SetDepthWriting(false);
    context.BindDepthBuffer(rig.depth);
    context.BindRenderTarget(rig.target);
    context.SetBlendMode(ZOR::BlendMode::Alpha);
    context.ClearDepthBuffer(rig.depth);
    EXPECT_NEAR(Float(Read(rig.depth), 3, 0), 1.0f, 1e-6f);
    context.ClearRenderTarget(rig.target, ZOR::Color(0.2f, 0.4f, 0.6f, 0.0f));
    const auto pixel = Pixel(Read(rig.target), 3, 0);
    EXPECT_NEAR(pixel[0], 51, 1);
    EXPECT_NEAR(pixel[1], 102, 1);
    EXPECT_NEAR(pixel[2], 153, 1);
    EXPECT_EQ(pixel[3], 0);

    // The back buffer clears to the clear colour.
    context.SetClearColor(1, 0, 1, 1);
    context.ClearBackBuffer();
    EXPECT_EQ(Pixel(Read(context.GetBackBuffer()), 799, 599), (std::array<int, 4>{255, 0, 255, 255}));
}

namespace {

// Writes what texel (0, 0) of unit 0 holds, wherever it draws.
const char* const CornerPS = R"(#version 450
layout(binding = 0) uniform sampler2D Texture_s0;
layout(location = 0) out vec4 target0;
void main()
{
    target0 = texelFetch(Texture_s0, ivec2(0, 0), 0);
}
)";

} // namespace

TEST_F(DepthConformance, TheDepthBufferReadsAsNullWhileItIsTheDepthTarget)
{
    ZOR::DXRenderContext& context = Context();
    const DepthRig rig = MakeRig();
    context.ClearDepthBuffer(rig.depth);
    context.SetDepthTesting(true);
    context.SetDepthWriting(true);
    context.BindDepthBuffer(rig.depth);
    context.BindRenderTarget(rig.target);
    DrawAt(rig, 0.25f, 1, 0, 0);

    // A float target receives what texel (0, 0) of the depth buffer reads as. The quad covers
    // only the lower right quarter, so that the draw never writes the texel it reads.
    const Handle reader = Target(4, 4, Format::R32_FLOAT);
    const Handle ps = PixelShader(CornerPS);
    const Handle corner = Quad(0, -1, 1, 0);
    auto readCorner = [&](const Handle& texture) {
        UseColourPipeline();
        context.BindPixelShader(ps);
        context.BindVertexBuffer(corner, 16);
        context.BindTexture(0, texture);
        context.Draw(6, 0);
        return Float(Read(reader), 3, 3);
    };
    // Both off: not attached, it reads its depth.
    context.ClearRenderTarget(reader, 0.5f, 0, 0, 0);
    context.SetDepthTesting(false);
    context.SetDepthWriting(false);
    context.BindRenderTarget(reader);
    EXPECT_NEAR(readCorner(rig.depth), 0.25f, 1e-5f);
    // Testing and writing on: the depth buffer is attached, and reads as zeros.
    context.ClearRenderTarget(reader, 0.5f, 0, 0, 0);
    context.SetDepthTesting(true);
    context.SetDepthWriting(true);
    context.BindRenderTarget(reader);
    EXPECT_EQ(readCorner(rig.depth), 0.0f);
    EXPECT_NEAR(Float(Read(rig.depth), 0, 0), 0.25f, 1e-5f);
    // A target being drawn into does not read itself either.
    context.ClearRenderTarget(reader, 0.5f, 0, 0, 0);
    context.SetDepthTesting(false);
    context.SetDepthWriting(false);
    context.BindRenderTarget(reader);
    EXPECT_EQ(readCorner(reader), 0.0f);
    EXPECT_EQ(Float(Read(reader), 0, 0), 0.5f);
}

TEST_F(DepthConformance, CopyResourceCopiesDepthToDepth)
{
    ZOR::DXRenderContext& context = Context();
    const DepthRig rig = MakeRig();
    Handle copy;
    ASSERT_TRUE(context.CreateDepthBuffer(copy, rig.target, Dimension()));
    context.ClearDepthBuffer(rig.depth);
    context.ClearDepthBuffer(copy);
    context.SetDepthTesting(true);
    context.SetDepthWriting(true);
    context.BindDepthBuffer(rig.depth);
    context.BindRenderTarget(rig.target);
    DrawAt(rig, 0.25f, 1, 0, 0);
    context.CopyResource(copy, rig.depth);
    EXPECT_NEAR(Float(Read(copy), 3, 3), 0.25f, 1e-5f);

    // Kinds must match; sizes and formats too.
    StdoutCapture out;
    context.CopyResource(copy, rig.target);
    const Handle other = Target(8, 8);
    context.CopyResource(other, rig.target);
    const std::string text = out.Text();
    EXPECT_NE(text.find("When copying resources, the objects must be of the same type!\n"), std::string::npos);
    EXPECT_NE(text.find("Warning: Resources of different sizes or formats cannot be copied"), std::string::npos);
}

namespace {

// Two outputs of the same colour from pixel constant buffer 0.
const char* const TwoTargetPS = R"(#version 450
layout(std140, row_major, binding = 14) uniform Colour { vec4 colour; };
layout(location = 0) out vec4 target0;
layout(location = 1) out vec4 target1;
void main()
{
    target0 = colour;
    target1 = colour;
}
)";

const char* const ThreeTargetPS = R"(#version 450
layout(location = 0) out vec4 target0;
layout(location = 1) out vec4 target1;
layout(location = 2) out vec4 target2;
void main()
{
    target0 = vec4(1, 0, 0, 1);
    target1 = vec4(0, 1, 0, 1);
    target2 = vec4(0, 0, 1, 1);
}
)";

} // namespace

TEST_F(DrawConformance, BlendModesApplyToTheFirstTargetOnly)
{
    ZOR::DXRenderContext& context = Context();
    const Handle first = Target(2, 2);
    const Handle second = Target(2, 2);
    UseColourPipeline();
    context.BindPixelShader(PixelShader(TwoTargetPS));
    ColourBuffer(1, 0, 0, 0.5f);
    context.SetViewport(Viewport(0, 0, Dimension(2, 2), 0, 1));
    const Handle both[] = {first, second};
    context.BindRenderTargets(2, both);
    // Source (1, 0, 0, 0.5) over destination (0, 0, 1, 1); alpha always adds one and one.
    const std::array<int, 4> expected[] = {
        {255, 0, 0, 128}, // none
        {128, 0, 128, 255}, // alpha
        {128, 0, 255, 255}, // additive
        {255, 0, 255, 255}, // one plus one
    };
    for (std::uint32_t mode = 0; mode < 4; ++mode) {
        SCOPED_TRACE(mode);
        context.ClearRenderTarget(first, 0, 0, 1, 1);
        context.ClearRenderTarget(second, 0, 0, 1, 1);
        context.SetBlendMode(static_cast<ZOR::BlendMode>(mode));
        context.Draw(6, 0);
        ExpectPixel(Pixel(Read(first), 1, 1), expected[mode][0], expected[mode][1], expected[mode][2],
                    expected[mode][3], "first target");
        ExpectPixel(Pixel(Read(second), 1, 1), 255, 0, 0, 128, "second target");
    }
}

TEST_F(DrawConformance, ThreeTargetsWithAnEmptyMiddleWriteTheOuterTwo)
{
    ZOR::DXRenderContext& context = Context();
    const Handle first = Target(2, 2);
    const Handle third = Target(2, 2);
    const Handle untouched = Target(2, 2);
    for (const Handle& target : {first, third, untouched})
        context.ClearRenderTarget(target, 0, 0, 0, 0);
    UseColourPipeline();
    context.BindPixelShader(PixelShader(ThreeTargetPS));
    context.SetViewport(Viewport(0, 0, Dimension(2, 2), 0, 1));
    const Handle targets[] = {first, Handle(), third};
    context.BindRenderTargets(3, targets);
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(first), 0, 0), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_EQ(Pixel(Read(third), 1, 1), (std::array<int, 4>{0, 0, 255, 255}));
    EXPECT_EQ(Pixel(Read(untouched), 1, 1), (std::array<int, 4>{0, 0, 0, 0}));
}

TEST_F(DrawConformance, CounterClockwiseTrianglesOnTheTargetAreFrontFaces)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = BoundTarget(4, 4);
    UseColourPipeline();
    ColourBuffer(1, 1, 1, 1);
    // As seen on the target (y down): top left, bottom left, bottom right runs counter-clockwise.
    const float ccw[] = {-1, 1, 0, 0, -1, -1, 0, 0, 1, -1, 0, 0};
    const float cw[] = {-1, 1, 0, 0, 1, -1, 0, 0, -1, -1, 0, 0};
    Handle ccwBuffer, cwBuffer;
    ASSERT_TRUE(context.CreateVertexBuffer(ccwBuffer, ZOR::BufferUsage::Static, sizeof(ccw), ccw));
    ASSERT_TRUE(context.CreateVertexBuffer(cwBuffer, ZOR::BufferUsage::Static, sizeof(cw), cw));
    auto drawn = [&](const Handle& buffer, ZOR::CullMode cull) {
        context.ClearRenderTarget(target, 0, 0, 0, 0);
        context.SetCullMode(cull);
        context.BindVertexBuffer(buffer, 16);
        context.Draw(3, 0);
        return Pixel(Read(target), 0, 3)[0] == 255;
    };
    EXPECT_TRUE(drawn(ccwBuffer, ZOR::CullMode::Back));
    EXPECT_FALSE(drawn(cwBuffer, ZOR::CullMode::Back));
    EXPECT_FALSE(drawn(ccwBuffer, ZOR::CullMode::Front));
    EXPECT_TRUE(drawn(cwBuffer, ZOR::CullMode::Front));
    EXPECT_TRUE(drawn(ccwBuffer, ZOR::CullMode::None));
    EXPECT_TRUE(drawn(cwBuffer, ZOR::CullMode::None));
}

namespace {

// Each instance fills one of four columns, the column coming from its instance data.
const char* const ColumnVS = R"(#version 450
layout(location = 0) in vec2 POSITION;
layout(location = 1) in vec2 UV;
layout(location = 2) in float COLUMN;
void main()
{
    float x = ((POSITION.x * 0.5 + 0.5) + COLUMN) / 4.0;
    gl_Position = vec4(x * 2.0 - 1.0, POSITION.y, 0.0, 1.0);
}
)";

std::vector<ZOR::InputElement> ColumnLayout()
{
    return {{"POSITION", Format::R32G32_FLOAT, false},
            {"UV", Format::R32G32_FLOAT, false},
            {"COLUMN", Format::R32_FLOAT, true}};
}

} // namespace

TEST_F(DrawConformance, InstancedDrawsStartAtTheirFirstInstanceAndBaseVertex)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = Target(4, 1);
    context.SetViewport(Viewport(0, 0, Dimension(4, 1), 0, 1));
    UseColourPipeline();
    ColourBuffer(1, 1, 1, 1);
    context.BindVertexShader(VertexShader(ColumnVS, ColumnLayout()));
    // Instances 0 and 1 would land far outside the target.
    const float columns[] = {50, 60, 1, 3, 0, 2};
    Handle instances;
    ASSERT_TRUE(context.CreateVertexBuffer(instances, ZOR::BufferUsage::Static, sizeof(columns), columns));
    // Six vertices of nothing, then the quad: a base vertex of 6 skips to it.
    std::vector<float> vertices(24, 0.0f);
    const float quad[] = {-1, 1, 0, 0, 1, -1, 1, 1, 1, 1, 1, 0, -1, 1, 0, 0, -1, -1, 0, 1, 1, -1, 1, 1};
    vertices.insert(vertices.end(), std::begin(quad), std::end(quad));
    Handle quadBuffer;
    ASSERT_TRUE(context.CreateVertexBuffer(quadBuffer, ZOR::BufferUsage::Static,
                                           static_cast<std::uint32_t>(vertices.size() * 4), vertices.data()));
    context.BindVertexBuffers(quadBuffer, 16, instances, 4);
    context.BindRenderTarget(target);

    auto lit = [&]() {
        const auto pixels = Read(target);
        std::string columnsLit;
        for (std::uint32_t x = 0; x < 4; ++x)
            columnsLit += Pixel(pixels, x, 0)[0] == 255 ? '#' : '.';
        return columnsLit;
    };
    context.ClearRenderTarget(target, 0, 0, 0, 0);
    context.DrawInstanced(6, 2, 6, 2);
    EXPECT_EQ(lit(), ".#.#");

    const std::uint32_t indices[] = {9, 9, 0, 1, 2, 3, 4, 5};
    Handle indexBuffer;
    ASSERT_TRUE(context.CreateIndexBuffer(indexBuffer, ZOR::BufferUsage::Static, sizeof(indices), indices));
    context.BindIndexBuffer(indexBuffer);
    context.ClearRenderTarget(target, 0, 0, 0, 0);
    context.DrawIndexedInstanced(6, 2, 2, 6, 4);
    EXPECT_EQ(lit(), "#.#.");

    // The plain draws read instance 0.
    context.ClearRenderTarget(target, 0, 0, 0, 0);
    context.BindVertexBuffers(quadBuffer, 16, instances, 0);
    context.DrawIndexed(6, 2, 6);
    EXPECT_EQ(lit(), "....");
    const float second[] = {3};
    Handle one;
    ASSERT_TRUE(context.CreateVertexBuffer(one, ZOR::BufferUsage::Static, 4, second));
    context.BindVertexBuffers(quadBuffer, 16, one, 4);
    context.Draw(6, 6);
    EXPECT_EQ(lit(), "...#");
}

namespace {

const char* const BoneVS = R"(#version 450
layout(location = 0) in vec2 POSITION;
layout(location = 1) in uvec4 BONE_IDS;
layout(location = 0) flat out uvec4 ids;
void main()
{
    ids = BONE_IDS;
    gl_Position = vec4(POSITION, 0.0, 1.0);
}
)";

const char* const BonePS = R"(#version 450
layout(location = 0) flat in uvec4 ids;
layout(location = 0) out vec4 target0;
void main()
{
    target0 = vec4(ids.x == 0u, ids.y == 79u, ids.z == 65535u, ids.w == 2147483653u);
}
)";

} // namespace

TEST_F(DrawConformance, IntegerInputsArriveExactly)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = BoundTarget(2, 2);
    context.ClearRenderTarget(target, 0, 0, 0, 0);
    struct Vertex {
        float x, y;
        std::uint32_t ids[4];
    };
    const std::uint32_t ids[4] = {0, 79, 65535, 2147483653u};
    const Vertex v[] = {{-1, 1, {}}, {1, -1, {}}, {1, 1, {}}, {-1, 1, {}}, {-1, -1, {}}, {1, -1, {}}};
    std::vector<Vertex> vertices(std::begin(v), std::end(v));
    for (Vertex& vertex : vertices)
        std::copy(std::begin(ids), std::end(ids), vertex.ids);
    Handle buffer;
    ASSERT_TRUE(context.CreateVertexBuffer(buffer, ZOR::BufferUsage::Static,
                                           static_cast<std::uint32_t>(vertices.size() * sizeof(Vertex)),
                                           vertices.data()));
    context.BindVertexShader(
        VertexShader(BoneVS, {{"POSITION", Format::R32G32_FLOAT, false}, {"BONE_IDS", Format::R32G32B32A32_UINT, false}}));
    context.BindPixelShader(PixelShader(BonePS));
    context.BindVertexBuffer(buffer, sizeof(Vertex));
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 1, 1), (std::array<int, 4>{255, 255, 255, 255}));
}

namespace {

// Unit 0 read with point clamp and with bilinear clamp, unit 2 with bilinear wrap, and unit 3
// without a suffix (bilinear clamp); at u = 0.49 and at u = 0.
const char* const SamplerPS = R"(#version 450
layout(binding = 0) uniform sampler2D Point_s0;
layout(binding = 1) uniform sampler2D Bilinear_s1;
layout(binding = 2) uniform sampler2D Wrapped_s5;
layout(binding = 3) uniform sampler2D Plain;
layout(location = 0) out vec4 target0;
void main()
{
    target0 = vec4(texture(Point_s0, vec2(0.49, 0.5)).r, texture(Bilinear_s1, vec2(0.49, 0.5)).r,
                   texture(Wrapped_s5, vec2(0.0, 0.5)).r, texture(Plain, vec2(0.0, 0.5)).r);
}
)";

} // namespace

TEST_F(DrawConformance, SamplerNamesPickTheirStateAndNullTexturesReadZeros)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = BoundTarget(1, 1);
    const std::uint8_t texels[] = {0, 0, 0, 255, 255, 255, 255, 255};
    Handle texture;
    ASSERT_TRUE(context.CreateTexture(texture, texels, Dimension(2, 1), Format::R8G8B8A8_UNORM));
    UseColourPipeline();
    context.BindPixelShader(PixelShader(SamplerPS));
    const Handle units[] = {texture, texture, texture, texture};
    context.BindTextures(4, units);
    context.Draw(6, 0);
    const auto pixel = Pixel(Read(target), 0, 0);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_NEAR(pixel[1], 122, 3);
    EXPECT_NEAR(pixel[2], 128, 3);
    EXPECT_EQ(pixel[3], 0);

    // An empty unit reads zeros, alpha included.
    context.BindPixelShader(PixelShader(tarsel::test::TexturePS));
    context.BindTexture(0, Handle::Null());
    context.ClearRenderTarget(target, 1, 1, 1, 1);
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 0), (std::array<int, 4>{0, 0, 0, 0}));
}

TEST_F(DrawConformance, MappedBuffersAreDrawnAndStaticOnesKeepTheirData)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = BoundTarget(2, 2);
    context.ClearRenderTarget(target, 0, 0, 0, 0);
    UseColourPipeline();
    ColourBuffer(0, 1, 0, 1);
    Handle dynamic;
    ASSERT_TRUE(context.CreateVertexBuffer(dynamic, ZOR::BufferUsage::Dynamic, 96, nullptr));
    const float quad[] = {-1, 1, 0, 0, 1, -1, 1, 1, 1, 1, 1, 0, -1, 1, 0, 0, -1, -1, 0, 1, 1, -1, 1, 1};
    void* mapped = context.Map(dynamic);
    ASSERT_NE(mapped, nullptr);
    std::memcpy(mapped, quad, sizeof(quad));
    context.Unmap(dynamic);
    context.BindVertexBuffer(dynamic, 16);
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 1), (std::array<int, 4>{0, 255, 0, 255}));

    // Only dynamic buffers map.
    Handle fixed, plain, texture;
    ASSERT_TRUE(context.CreateVertexBuffer(fixed, ZOR::BufferUsage::Static, sizeof(quad), quad));
    ASSERT_TRUE(context.CreateIndexBuffer(plain, ZOR::BufferUsage::Default, 16, nullptr));
    const std::uint32_t texel = 0;
    ASSERT_TRUE(context.CreateTexture(texture, &texel, Dimension(1, 1), Format::R8G8B8A8_UNORM));
    EXPECT_EQ(context.Map(fixed), nullptr);
    EXPECT_EQ(context.Map(plain), nullptr);
    EXPECT_EQ(context.Map(texture), nullptr);
    EXPECT_EQ(context.Map(target), nullptr);

    StdoutCapture out;
    const float zeros[24] = {};
    context.CopyData(fixed, zeros, sizeof(zeros));
    EXPECT_EQ(out.Text(), "Warning: A static buffer cannot be written to!\n");
    const auto kept = Read(fixed);
    ASSERT_EQ(kept.bytes.size(), sizeof(quad));
    EXPECT_EQ(std::memcmp(kept.bytes.data(), quad, sizeof(quad)), 0);
}

TEST_F(DrawConformance, CopiesLargerThanTheBufferAreCutAndTexturesFromFilesCannotBeWritten)
{
    ZOR::DXRenderContext& context = Context();
    Handle buffer;
    ASSERT_TRUE(context.CreateVertexBuffer(buffer, ZOR::BufferUsage::Default, 8, nullptr));
    const std::uint8_t bytes[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    StdoutCapture out;
    context.CopyData(buffer, bytes, sizeof(bytes));
    EXPECT_EQ(out.Text(), "Warning: Copied 8 of 12 bytes: that is all the buffer holds.\n");
    const auto data = Read(buffer);
    ASSERT_EQ(data.bytes.size(), 8u);
    EXPECT_EQ(data.bytes[7], 8);

    // A memory texture takes a partial write from its first texel on.
    Handle texture;
    const std::uint8_t texels[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    ASSERT_TRUE(context.CreateTexture(texture, texels, Dimension(2, 1), Format::R8G8B8A8_UNORM));
    context.CopyData(texture, bytes, 4);
    EXPECT_EQ(Pixel(Read(texture), 0, 0), (std::array<int, 4>{1, 2, 3, 4}));
}
