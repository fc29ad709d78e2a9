// Drawing through the back end against the same sequences issued straight to OpenGL, on a
// 256x256 RGBA8 target (llvmpipe without a display):
// - 2000 draws of a 6-vertex quad, each after a 144-byte constant-buffer write and a vertex
//   buffer bind;
// - 2000 instanced draws of 16 instances each, the first instance advancing by 16.
// Each iteration waits for the GPU, so that the work is counted where it is spent. Items are
// draws: the items/s column is draws per second.
//
// And texture decoding: a 1024x1024 DXT5 DDS file through our decoder against libsquish's
// DecompressImage on the same blocks, and a 1024x1024 PNG; bytes are decoded RGBA bytes.
#include "bench/gpu/GpuRig.h"
#include "platform/ImageDecoder.h"
#include "platform/gpu/ImmediateContext.h"
#include "tools/writers/ImageWriter.h"

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>
#include <squish.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr std::uint32_t Side = 256;
constexpr int Draws = 2000;
constexpr int InstancesPerDraw = 16;

const char* const PlainVS = R"(#version 450
layout(location = 0) in vec2 POSITION;
layout(location = 1) in vec2 UV;
layout(std140, row_major, binding = 0) uniform Object { mat4 world; vec4 extra[5]; };
layout(location = 0) out vec2 uv;
void main()
{
    uv = UV;
    gl_Position = world * vec4(POSITION * 0.1, 0.0, 1.0) + extra[0];
}
)";

const char* const InstancedVS = R"(#version 450
layout(location = 0) in vec2 POSITION;
layout(location = 1) in vec2 UV;
layout(location = 2) in vec2 OFFSET;
layout(std140, row_major, binding = 0) uniform Object { mat4 world; vec4 extra[5]; };
layout(location = 0) out vec2 uv;
void main()
{
    uv = UV;
    gl_Position = world * vec4(POSITION * 0.05 + OFFSET, 0.0, 1.0);
}
)";

const char* const FlatPS = R"(#version 450
layout(location = 0) in vec2 uv;
layout(location = 0) out vec4 target0;
void main()
{
    target0 = vec4(uv, 0.5, 1.0);
}
)";

const float QuadVertices[] = {-1, 1, 0, 0, 1, -1, 1, 1, 1, 1, 1, 0, -1, 1, 0, 0, -1, -1, 0, 1, 1, -1, 1, 1};

std::vector<float> Offsets()
{
    std::vector<float> offsets;
    for (int i = 0; i < Draws * InstancesPerDraw; ++i) {
        offsets.push_back(std::sin(static_cast<float>(i) * 0.37f) * 0.9f);
        offsets.push_back(std::cos(static_cast<float>(i) * 0.11f) * 0.9f);
    }
    return offsets;
}

// 144 bytes: an identity matrix and five vectors.
std::array<float, 36> ObjectBlock(int i)
{
    std::array<float, 36> block{};
    block[0] = block[5] = block[10] = block[15] = 1.0f;
    block[16] = static_cast<float>(i % 7) * 0.01f;
    return block;
}

std::string WriteTemp(const std::string& name, const std::string& text)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tarsel-gpu-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

// The back end's objects for both draw benchmarks.
struct BackEndScene {
    ZOR::Handle target, plainVS, instancedVS, ps, quad, instances, object;
    bool ok = false;
    ZOR::DXRenderContext& context;

    explicit BackEndScene(ZOR::DXRenderContext& c) : context(c)
    {
        ok = c.CreateRenderTarget(target, ZOR::RenderTargetPolicy::FixedSize, ZOR::Format::R8G8B8A8_UNORM, 1.0f,
                                  ZOR::Dimension(Side, Side));
        const std::vector<ZOR::InputElement> plain = {{"POSITION", ZOR::Format::R32G32_FLOAT, false},
                                                      {"UV", ZOR::Format::R32G32_FLOAT, false}};
        std::vector<ZOR::InputElement> instanced = plain;
        instanced.emplace_back("OFFSET", ZOR::Format::R32G32_FLOAT, true);
        ok = ok && c.CreateVertexShader(plainVS, WriteTemp("plain.vs", PlainVS), plain, true, "main");
        ok = ok && c.CreateVertexShader(instancedVS, WriteTemp("instanced.vs", InstancedVS), instanced, true, "main");
        ok = ok && c.CreatePixelShader(ps, WriteTemp("flat.ps", FlatPS), true, "main");
        ok = ok && c.CreateVertexBuffer(quad, ZOR::BufferUsage::Static, sizeof(QuadVertices), QuadVertices);
        const std::vector<float> offsets = Offsets();
        ok = ok && c.CreateVertexBuffer(instances, ZOR::BufferUsage::Static,
                                        static_cast<std::uint32_t>(offsets.size() * sizeof(float)), offsets.data());
        ok = ok && c.CreateConstantBuffer(object, 144);
    }

    void Bind(ZOR::DXRenderContext& c, const ZOR::Handle& vs)
    {
        c.SetDepthTesting(false);
        c.SetDepthWriting(false);
        c.BindRenderTarget(target);
        c.SetViewport(ZOR::Viewport(0, 0, ZOR::Dimension(Side, Side), 0, 1));
        c.BindVertexShader(vs);
        c.BindPixelShader(ps);
        c.BindConstantBuffer(0, object, ZOR::ObjectType::VertexShader);
        c.SetPrimitiveTopology(ZOR::PrimitiveTopology::TriangleList);
        c.SetBlendMode(ZOR::BlendMode::None);
    }
};

// The same objects made with OpenGL directly, and the bindings it changes put back afterwards,
// so that the back end finds the state it left.
struct RawScene {
    GLuint program = 0, instancedProgram = 0, vao = 0, quad = 0, instances = 0, ubo = 0, texture = 0, fbo = 0;
    bool ok = false;

    static GLuint Link(const char* vsSource, const char* psSource)
    {
        const GLuint vs = glCreateShader(GL_VERTEX_SHADER);
        glShaderSource(vs, 1, &vsSource, nullptr);
        glCompileShader(vs);
        const GLuint ps = glCreateShader(GL_FRAGMENT_SHADER);
        glShaderSource(ps, 1, &psSource, nullptr);
        glCompileShader(ps);
        const GLuint program = glCreateProgram();
        glAttachShader(program, vs);
        glAttachShader(program, ps);
        glLinkProgram(program);
        glDeleteShader(vs);
        glDeleteShader(ps);
        GLint linked = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        return linked ? program : 0;
    }

    RawScene()
    {
        program = Link(PlainVS, FlatPS);
        instancedProgram = Link(InstancedVS, FlatPS);
        glCreateBuffers(1, &quad);
        glNamedBufferStorage(quad, sizeof(QuadVertices), QuadVertices, 0);
        const std::vector<float> offsets = Offsets();
        glCreateBuffers(1, &instances);
        glNamedBufferStorage(instances, static_cast<GLsizeiptr>(offsets.size() * sizeof(float)), offsets.data(), 0);
        glCreateBuffers(1, &ubo);
        glNamedBufferStorage(ubo, 144, nullptr, GL_DYNAMIC_STORAGE_BIT);
        glCreateVertexArrays(1, &vao);
        for (GLuint location = 0; location < 3; ++location) {
            glEnableVertexArrayAttrib(vao, location);
            glVertexArrayAttribFormat(vao, location, 2, GL_FLOAT, GL_FALSE, location == 1 ? 8 : 0);
            glVertexArrayAttribBinding(vao, location, location == 2 ? 1 : 0);
        }
        glVertexArrayBindingDivisor(vao, 1, 1);
        glVertexArrayVertexBuffer(vao, 1, instances, 0, 8);
        glCreateTextures(GL_TEXTURE_2D, 1, &texture);
        glTextureStorage2D(texture, 1, GL_RGBA8, Side, Side);
        glCreateFramebuffers(1, &fbo);
        glNamedFramebufferTexture(fbo, GL_COLOR_ATTACHMENT0, texture, 0);
        ok = program && instancedProgram
             && glCheckNamedFramebufferStatus(fbo, GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }

    struct Saved {
        GLint program = 0, vao = 0, fbo = 0, ubo = 0;
        GLfloat viewport[4] = {};
    };
    static Saved Save()
    {
        Saved s;
        glGetIntegerv(GL_CURRENT_PROGRAM, &s.program);
        glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &s.vao);
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &s.fbo);
        glGetIntegeri_v(GL_UNIFORM_BUFFER_BINDING, 0, &s.ubo);
        glGetFloatv(GL_VIEWPORT, s.viewport);
        return s;
    }
    static void Restore(const Saved& s)
    {
        glUseProgram(static_cast<GLuint>(s.program));
        glBindVertexArray(static_cast<GLuint>(s.vao));
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(s.fbo));
        glBindBufferBase(GL_UNIFORM_BUFFER, 0, static_cast<GLuint>(s.ubo));
        glViewportIndexedf(0, s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    }

    void Bind(GLuint which) const
    {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, fbo);
        glViewportIndexedf(0, 0, 0, Side, Side);
        glUseProgram(which);
        glBindVertexArray(vao);
        glBindBufferBase(GL_UNIFORM_BUFFER, 0, ubo);
    }
};

gpubench::Rig* ReadyRig(benchmark::State& state)
{
    gpubench::Rig& rig = gpubench::RigFor(Side, Side);
    if (!rig.ok) {
        state.SkipWithError("no OpenGL 4.5 context");
        return nullptr;
    }
    return &rig;
}

// The back end's scene made once on the rig's context, or null with the run skipped.
BackEndScene* ReadyBackEnd(benchmark::State& state)
{
    gpubench::Rig* rig = ReadyRig(state);
    if (!rig)
        return nullptr;
    static BackEndScene scene(*rig->context);
    if (!scene.ok) {
        state.SkipWithError("the back end could not make the scene");
        return nullptr;
    }
    return &scene;
}

// The raw scene made once, or null with the run skipped.
RawScene* ReadyRaw(benchmark::State& state)
{
    if (!ReadyRig(state))
        return nullptr;
    static RawScene scene;
    if (!scene.ok) {
        state.SkipWithError("the raw scene could not be made");
        return nullptr;
    }
    return &scene;
}

void BM_BackEndDrawsWithConstantWrites(benchmark::State& state)
{
    BackEndScene* ready = ReadyBackEnd(state);
    if (!ready)
        return;
    BackEndScene& scene = *ready;
    ZOR::DXRenderContext& c = scene.context;
    scene.Bind(c, scene.plainVS);
    platform::gpu::ImmediateContext gpu;
    for (auto _ : state) {
        for (int i = 0; i < Draws; ++i) {
            const auto block = ObjectBlock(i);
            c.CopyData(scene.object, block.data(), sizeof(block));
            c.BindVertexBuffer(scene.quad, 16);
            c.Draw(6, 0);
        }
        gpu.Finish();
    }
    state.SetItemsProcessed(state.iterations() * Draws);
}

void BM_RawGLDrawsWithConstantWrites(benchmark::State& state)
{
    RawScene* ready = ReadyRaw(state);
    if (!ready)
        return;
    RawScene& scene = *ready;
    const RawScene::Saved saved = RawScene::Save();
    scene.Bind(scene.program);
    for (auto _ : state) {
        for (int i = 0; i < Draws; ++i) {
            const auto block = ObjectBlock(i);
            glNamedBufferSubData(scene.ubo, 0, sizeof(block), block.data());
            glVertexArrayVertexBuffer(scene.vao, 0, scene.quad, 0, 16);
            glDrawArrays(GL_TRIANGLES, 0, 6);
        }
        glFinish();
    }
    RawScene::Restore(saved);
    state.SetItemsProcessed(state.iterations() * Draws);
}

void BM_BackEndInstancedDraws(benchmark::State& state)
{
    BackEndScene* ready = ReadyBackEnd(state);
    if (!ready)
        return;
    BackEndScene& scene = *ready;
    ZOR::DXRenderContext& c = scene.context;
    scene.Bind(c, scene.instancedVS);
    const auto block = ObjectBlock(0);
    c.CopyData(scene.object, block.data(), sizeof(block));
    c.BindVertexBuffers(scene.quad, 16, scene.instances, 8);
    platform::gpu::ImmediateContext gpu;
    for (auto _ : state) {
        for (int i = 0; i < Draws; ++i)
            c.DrawInstanced(6, InstancesPerDraw, 0, static_cast<std::uint32_t>(i * InstancesPerDraw));
        gpu.Finish();
    }
    state.SetItemsProcessed(state.iterations() * Draws);
}

void BM_RawGLInstancedDraws(benchmark::State& state)
{
    RawScene* ready = ReadyRaw(state);
    if (!ready)
        return;
    RawScene& scene = *ready;
    const RawScene::Saved saved = RawScene::Save();
    scene.Bind(scene.instancedProgram);
    const auto block = ObjectBlock(0);
    glNamedBufferSubData(scene.ubo, 0, sizeof(block), block.data());
    glVertexArrayVertexBuffer(scene.vao, 0, scene.quad, 0, 16);
    for (auto _ : state) {
        for (int i = 0; i < Draws; ++i)
            glDrawArraysInstancedBaseInstance(GL_TRIANGLES, 0, 6, InstancesPerDraw,
                                              static_cast<GLuint>(i * InstancesPerDraw));
        glFinish();
    }
    RawScene::Restore(saved);
    state.SetItemsProcessed(state.iterations() * Draws);
}

// ---------------------------------------------------------------------------------------------
// Decoding

constexpr std::uint32_t ImageSide = 1024;

tarsel::tools::Image Picture()
{
    tarsel::tools::Image image;
    image.width = image.height = ImageSide;
    image.rgba.reserve(std::size_t{ImageSide} * ImageSide * 4);
    for (std::uint32_t y = 0; y < ImageSide; ++y) {
        for (std::uint32_t x = 0; x < ImageSide; ++x) {
            const float fx = static_cast<float>(x), fy = static_cast<float>(y);
            image.rgba.push_back(static_cast<std::uint8_t>(128 + 127 * std::sin(fx * 0.05f)));
            image.rgba.push_back(static_cast<std::uint8_t>(128 + 127 * std::cos(fy * 0.03f)));
            image.rgba.push_back(static_cast<std::uint8_t>((x ^ y) & 0xFF));
            image.rgba.push_back(static_cast<std::uint8_t>(128 + 127 * std::sin((fx + fy) * 0.02f)));
        }
    }
    return image;
}

const std::string& Dxt5File()
{
    static const std::string file = tarsel::tools::WriteDds(Picture(), tarsel::tools::DdsFormat::BC3);
    return file;
}

const std::string& PngFile()
{
    static const std::string file = tarsel::tools::WritePng(Picture());
    return file;
}

// Decodes one picture file over and over.
void DecodeEach(benchmark::State& state, const std::string& file)
{
    platform::DecodedImage image;
    std::string error;
    for (auto _ : state) {
        if (!platform::DecodeImage(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), image, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(image.rgba.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{ImageSide} * ImageSide * 4);
}

void BM_DecodeDxt5(benchmark::State& state)
{
    DecodeEach(state, Dxt5File());
}

void BM_SquishDecompressDxt5(benchmark::State& state)
{
    const std::string& file = Dxt5File();
    // The blocks follow the 128-byte header.
    const void* blocks = file.data() + 128;
    std::vector<squish::u8> rgba(std::size_t{ImageSide} * ImageSide * 4);
    for (auto _ : state) {
        squish::DecompressImage(rgba.data(), ImageSide, ImageSide, blocks, squish::kDxt5);
        benchmark::DoNotOptimize(rgba.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t{ImageSide} * ImageSide * 4);
}

void BM_DecodePng(benchmark::State& state)
{
    DecodeEach(state, PngFile());
}

} // namespace

BENCHMARK(BM_BackEndDrawsWithConstantWrites)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawGLDrawsWithConstantWrites)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BackEndInstancedDraws)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawGLInstancedDraws)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeDxt5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SquishDecompressDxt5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond);
