// Shader files: compilation, what failures report, input layouts checked against the vertex
// stage, linking at draw, and the stages that exist only in name.
#include "platform/gpu/Buffer.h"
#include "tests/renderer/dx11/GpuTestKit.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

using tarsel::test::StdoutCapture;
using ZOR::Dimension;
using ZOR::Format;
using ZOR::Handle;
using ZOR::ObjectType;
using ZOR::Viewport;

namespace {

using ShaderCreation = tarsel::test::GpuTest;

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

const char* const BrokenPS = R"(#version 450
layout(location = 0) out vec4 target0;
void main()
{
    target0 = vec4(undeclaredName, 1.0);
}
)";

const char* const GreenPS = R"(#version 450
layout(location = 0) out vec4 target0;
void main()
{
    target0 = vec4(0.0, 1.0, 0.0, 1.0);
}
)";

const char* const UintVS = R"(#version 450
layout(location = 0) in vec2 POSITION;
layout(location = 1) in uvec4 BONE_IDS;
void main()
{
    gl_Position = vec4(POSITION + vec2(BONE_IDS.xy), 0.0, 1.0);
}
)";

} // namespace

TEST_F(ShaderCreation, ACompileErrorLogsTheCompilerTextThenThePartsMessage)
{
    ZOR::DXRenderContext& context = Context();
    const std::string path = WriteFile("broken.ps", BrokenPS);
    Handle precompiled, compiled;
    StdoutCapture out;
    EXPECT_FALSE(context.CreatePixelShader(precompiled, path, true, "main"));
    EXPECT_FALSE(context.CreatePixelShader(compiled, path, false, "main"));
    const std::string text = out.Text();
    const auto compilerText = text.find("undeclaredName");
    const auto first = text.find("Error: Failed to create precompiled pixel shader \"" + path + "\"\n");
    const auto second = text.find("Error: Failed to compile pixel shader \"" + path + "\"\n");
    ASSERT_NE(compilerText, std::string::npos) << text;
    ASSERT_NE(first, std::string::npos) << text;
    ASSERT_NE(second, std::string::npos) << text;
    EXPECT_LT(compilerText, first);
    EXPECT_FALSE(static_cast<bool>(precompiled));
    EXPECT_FALSE(static_cast<bool>(compiled));
    EXPECT_EQ(ErrorBoxes().Requests().size(), 2u);
}

TEST_F(ShaderCreation, MissingEmptyBinaryAndHugeFilesFailWithTheMessageOfTheirKind)
{
    ZOR::DXRenderContext& context = Context();
    const std::string missing = (Folder() / "missing.vs").string();
    const std::string empty = WriteFile("empty.ps", "");
    const std::string binary = WriteFile("binary.ps", std::string("DXBC\0\x01\x02", 7));
    const std::string huge = WriteFile("huge.gs", std::string(5u << 20, ' '));
    Handle handle;
    StdoutCapture out;
    EXPECT_FALSE(context.CreateVertexShader(handle, missing, tarsel::test::QuadLayout(), true, "main"));
    EXPECT_FALSE(context.CreateVertexShader(handle, missing, tarsel::test::QuadLayout(), false, "main"));
    EXPECT_FALSE(context.CreatePixelShader(handle, empty, true, "main"));
    EXPECT_FALSE(context.CreatePixelShader(handle, binary, false, "main"));
    EXPECT_FALSE(context.CreateGeometryShader(handle, huge, true, "main"));
    const std::string text = out.Text();
    EXPECT_TRUE(Contains(text, "Error: Failed to create precompiled vertex shader \"" + missing + "\"\n"));
    EXPECT_TRUE(Contains(text, "Error: Failed to compile vertex shader \"" + missing + "\"\n"));
    EXPECT_TRUE(Contains(text, "Error: Failed to create precompiled pixel shader \"" + empty + "\"\n"));
    EXPECT_TRUE(Contains(text, "Error: Failed to compile pixel shader \"" + binary + "\"\n"));
    EXPECT_TRUE(Contains(text, "Error: Failed to create precompiled geometry shader \"" + huge + "\"\n"));
    EXPECT_FALSE(static_cast<bool>(handle));

    // Source is compiled from "main" only.
    const std::string good = WriteFile("good.ps", GreenPS);
    StdoutCapture entry;
    EXPECT_FALSE(context.CreatePixelShader(handle, good, false, "PSMain"));
    EXPECT_TRUE(Contains(entry.Text(), "Error: Failed to compile pixel shader"));
    EXPECT_TRUE(context.CreatePixelShader(handle, good, true, "PSMain"));
}

TEST_F(ShaderCreation, ALayoutThatMissesOrMistypesAnInputFails)
{
    ZOR::DXRenderContext& context = Context();
    const std::string path = WriteFile("bones.vs", UintVS);
    const std::string message = "Error: Failed to create input layout for vertex shader \"" + path + "\"\n";
    Handle handle;
    struct Case {
        const char* what;
        std::vector<ZOR::InputElement> layout;
    };
    const Case cases[] = {
        {"float for uvec4", {{"POSITION", Format::R32G32_FLOAT, false}, {"BONE_IDS", Format::R32G32B32A32_FLOAT, false}}},
        {"int for uvec4", {{"POSITION", Format::R32G32_FLOAT, false}, {"BONE_IDS", Format::R32G32B32A32_SINT, false}}},
        {"missing", {{"POSITION", Format::R32G32_FLOAT, false}}},
        {"uint for vec2", {{"POSITION", Format::R32G32_UINT, false}, {"BONE_IDS", Format::R32G32B32A32_UINT, false}}},
        {"not a vertex format", {{"POSITION", Format::R8G8_UNORM, false}, {"BONE_IDS", Format::R32G32B32A32_UINT, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StdoutCapture out;
        EXPECT_FALSE(context.CreateVertexShader(handle, path, c.layout, true, "main"));
        EXPECT_TRUE(Contains(out.Text(), message)) << out.Text();
        EXPECT_FALSE(static_cast<bool>(handle));
    }
    // More elements than the stage reads are fine, as is a narrower element.
    EXPECT_TRUE(context.CreateVertexShader(handle, path,
                                           {{"POSITION", Format::R32_FLOAT, false},
                                            {"BONE_IDS", Format::R32G32_UINT, false},
                                            {"EXTRA", Format::R32_FLOAT, true}},
                                           true, "main"));
}

TEST_F(ShaderCreation, AShaderReCreatedInPlaceIsDrawnAlthoughItsBindWasSkipped)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = BoundTarget(2, 2);
    UseColourPipeline();
    ColourBuffer(1, 0, 0, 1);
    Handle ps = PixelShader(tarsel::test::ColourPS);
    context.BindPixelShader(ps);
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 0), (std::array<int, 4>{255, 0, 0, 255}));

    const Handle before = ps;
    ASSERT_TRUE(context.CreatePixelShader(ps, WriteFile("green.ps", GreenPS), true, "main"));
    EXPECT_EQ(ps, before);
    context.BindPixelShader(ps);
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 0), (std::array<int, 4>{0, 255, 0, 255}));

    // A failed re-creation of a shader keeps the one it had.
    StdoutCapture out;
    EXPECT_FALSE(context.CreatePixelShader(ps, WriteFile("broken.ps", BrokenPS), true, "main"));
    EXPECT_EQ(ps, before);
    context.ClearRenderTarget(target, 0, 0, 0, 0);
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 0), (std::array<int, 4>{0, 255, 0, 255}));
}

namespace {

const char* const IntInPS = R"(#version 450
layout(location = 0) flat in ivec3 uv;
layout(location = 0) out vec4 target0;
void main()
{
    target0 = vec4(uv, 1.0);
}
)";

const char* const PassGS = R"(#version 450
layout(triangles) in;
layout(triangle_strip, max_vertices = 3) out;
void main()
{
    for (int i = 0; i < 3; ++i) {
        gl_Position = gl_in[i].gl_Position * vec4(0.5, 0.5, 1.0, 1.0);
        EmitVertex();
    }
    EndPrimitive();
}
)";

} // namespace

TEST_F(ShaderCreation, ShadersThatDoNotLinkAreReportedOnceAndNotDrawn)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = BoundTarget(2, 2);
    context.ClearRenderTarget(target, 0, 0, 1, 1);
    UseColourPipeline();
    context.BindVertexShader(VertexShader(tarsel::test::QuadVS, tarsel::test::QuadLayout()));
    context.BindPixelShader(PixelShader(IntInPS));
    StdoutCapture out;
    context.Draw(6, 0);
    context.Draw(6, 0);
    const std::string text = out.Text();
    const std::string line = "Warning: The bound shaders cannot be linked together; their draws are skipped.\n";
    ASSERT_TRUE(Contains(text, line)) << text;
    EXPECT_EQ(text.find(line), text.rfind(line));
    EXPECT_EQ(Pixel(Read(target), 0, 0), (std::array<int, 4>{0, 0, 255, 255}));
}

TEST_F(ShaderCreation, AGeometryStageRunsBetweenTheOthersAndComputeDoesNothing)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = BoundTarget(4, 4);
    context.ClearRenderTarget(target, 0, 0, 0, 0);
    UseColourPipeline();
    ColourBuffer(1, 1, 1, 1);
    Handle gs;
    ASSERT_TRUE(context.CreateGeometryShader(gs, WriteFile("pass.gs", PassGS), false, "main"));
    context.BindGeometryShader(gs);
    context.Draw(6, 0);
    // The stage halves the quad: only the middle is drawn.
    const auto pixels = Read(target);
    EXPECT_EQ(Pixel(pixels, 1, 1)[0], 255);
    EXPECT_EQ(Pixel(pixels, 0, 0)[0], 0);
    context.BindGeometryShader(Handle::Null());
    context.Draw(6, 0);
    EXPECT_EQ(Pixel(Read(target), 0, 0)[0], 255);

    EXPECT_TRUE(context.BindComputeShader(Handle(ObjectType::ComputeShader, 0)));
    context.RunComputeShader(1, 1, 1);
    StdoutCapture out;
    Handle compute(ObjectType::ComputeShader, 0);
    context.Release(compute);
    EXPECT_EQ(out.Text(), "Warning: This compute shader was already released.\n");
}

TEST_F(ShaderCreation, AVertexBufferTheGpuCannotHoldReportsVideoMemory)
{
    ZOR::DXRenderContext& context = Context();
    Handle buffer, index;
    StdoutCapture out;
    platform::gpu::Buffer::FailNextCreation(platform::gpu::Buffer::Result::OutOfMemory);
    EXPECT_FALSE(context.CreateVertexBuffer(buffer, ZOR::BufferUsage::Dynamic, 64, nullptr));
    // Any other refusal is reported too, with the size.
    platform::gpu::Buffer::FailNextCreation(platform::gpu::Buffer::Result::Failed);
    EXPECT_FALSE(context.CreateVertexBuffer(buffer, ZOR::BufferUsage::Dynamic, 64, nullptr));
    platform::gpu::Buffer::FailNextCreation(platform::gpu::Buffer::Result::OutOfMemory);
    EXPECT_FALSE(context.CreateIndexBuffer(index, ZOR::BufferUsage::Dynamic, 32, nullptr));
    const std::string text = out.Text();
    EXPECT_TRUE(Contains(text, "Error: ZOR has run out of video memory when attempting to create a vertex buffer.\n"));
    EXPECT_TRUE(Contains(text, "Error: Failed to create vertex buffer of size 64.\n"));
    EXPECT_TRUE(Contains(text, "Error: Failed to create index buffer of size 32.\n"));
    EXPECT_FALSE(static_cast<bool>(buffer));
    EXPECT_FALSE(static_cast<bool>(index));
    EXPECT_TRUE(context.CreateVertexBuffer(buffer, ZOR::BufferUsage::Dynamic, 64, nullptr));
}
