#pragma once
// The private state of DXRenderContext, seen only by the back end's own sources.
#include "platform/Display.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/Framebuffer.h"
#include "platform/gpu/GpuTypes.h"
#include "platform/gpu/ImmediateContext.h"
#include "platform/gpu/Program.h"
#include "platform/gpu/Sampler.h"
#include "platform/gpu/SwapChain.h"
#include "renderer/dx11/DXRenderContext.h"
#include "renderer/dx11/DeviceRules.h"
#include "renderer/dx11/ResourceRecords.h"

#include <array>
#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ZOR {

class DXRenderContext::Impl {
public:
    // The depth-stencil states, by what they do.
    enum DepthState : std::uint32_t { TestOnWriteOff, TestOffWriteOn, TestOnWriteOn, TestOffWriteOff, DepthStateCount };
    // The sampler slots: four filters with clamped addressing, then the same with wrapping.
    enum SamplerSlot : std::uint32_t {
        PointClamp,
        BilinearClamp,
        TrilinearClamp,
        AnisotropicClamp,
        PointWrap,
        BilinearWrap,
        TrilinearWrap,
        AnisotropicWrap,
        SamplerCount
    };

    // The table of a buffer kind (vertex, index, constant); null for any other kind.
    SlotTable<BufferRecord>* BufferTable(ObjectType kind)
    {
        switch (kind) {
        case ObjectType::VertexBuffer: return &vertexBuffers;
        case ObjectType::IndexBuffer: return &indexBuffers;
        case ObjectType::ConstantBuffer: return &constantBuffers;
        default: return nullptr;
        }
    }
    // False for a kind past the last one, which only a corrupt handle carries.
    static bool KnownKind(ObjectType kind) { return kind <= ObjectType::ConstantBuffer; }

    const platform::gpu::DepthStencilDesc& DepthStencilFor(bool test, bool write) const
    {
        if (test)
            return depthStates[write ? TestOnWriteOn : TestOnWriteOff];
        return depthStates[write ? TestOffWriteOn : TestOffWriteOff];
    }

    // The device goes first, so that it is destroyed after every GPU object below.
    platform::gpu::Device device;
    platform::gpu::ImmediateContext context;
    platform::gpu::SwapChain swapChain;

    bool initialised = false;
    bool fullscreen = false;
    bool vsync = false;
    MSAALevel msaaLevel = MSAALevel::Samples1;
    std::thread::id glThread;

    std::array<platform::gpu::DepthStencilDesc, DepthStateCount> depthStates{};
    bool depthTesting = false;
    bool depthWriting = false;

    // Cull none, back, front.
    std::array<platform::gpu::RasterizerDesc, 3> rasterizerStates{};
    FillMode fillMode = FillMode::Solid;

    // Blend modes 1, 2 and 3.
    std::array<platform::gpu::BlendDesc, 3> blendStates{};
    BlendMode blendMode = BlendMode::None;

    std::array<platform::gpu::Sampler, SamplerCount> samplers;
    Anisotropy anisotropy = Anisotropy::X16;

    // Parallel to the base class's list of display modes.
    std::vector<platform::DisplayModeDesc> modes;
    std::uint32_t currentMode = 0;

    Viewport backBufferViewport;
    std::string graphicsCardInfo;
    Handle lastVertexShader;
    Handle lastPixelShader;

    // ---- Resources. The mutex guards the tables, the upload queue and the graveyard; the GL
    // thread holds it while it reads records, loader threads while they reserve slots.
    std::mutex mutex;
    SlotTable<TextureRecord> textures;
    SlotTable<RenderTargetRecord> renderTargets;
    SlotTable<VertexShaderRecord> vertexShaders;
    SlotTable<ShaderRecord> pixelShaders;
    SlotTable<ShaderRecord> geometryShaders;
    SlotTable<ShaderRecord> computeShaders;
    SlotTable<BufferRecord> vertexBuffers;
    SlotTable<BufferRecord> indexBuffers;
    SlotTable<BufferRecord> constantBuffers;
    SlotTable<DepthBufferRecord> depthBuffers;

    // Creations made on other threads, run in order by the GL thread. Each knows its slot and
    // its id; a slot whose pending id no longer matches has been released or re-requested.
    struct Upload {
        std::uint64_t id = 0;
        std::function<void()> run;
    };
    std::deque<Upload> uploads;
    std::uint64_t nextUploadId = 1;
    // Identifies a set of GPU objects; unique across kinds, so caches can key on it.
    std::uint64_t nextGeneration = 1;

    // Objects released on other threads, destroyed by the GL thread.
    struct Graveyard {
        std::vector<platform::gpu::Texture2D> textures;
        std::vector<platform::gpu::Buffer> buffers;
        std::vector<platform::gpu::Shader> shaders;
        std::vector<platform::gpu::VertexArray> arrays;
        bool Empty() const { return textures.empty() && buffers.empty() && shaders.empty() && arrays.empty(); }
    };
    Graveyard graveyard;

    // Stands for every null, pending or bad texture handle: reads (0, 0, 0, 0).
    platform::gpu::Texture2D nullTexture;
    // Stands for a missing vertex buffer: read with stride 0, every input reads zeros.
    platform::gpu::Buffer nullVertices;
    platform::gpu::ImmediateContext::Limits limits;
    std::uint64_t backBufferGeneration = 0;

    // ---- Context state: what the binds asked for, applied at draw.
    static constexpr std::uint32_t TextureSlots = 32;
    static constexpr std::uint32_t ConstantBufferSlots = 14;
    std::array<Handle, TextureSlots> boundTextures{};
    // Vertex, pixel and geometry stage.
    std::array<std::array<Handle, ConstantBufferSlots>, 3> boundConstantBuffers{};
    std::array<Handle, 2> boundVertexBuffers{};
    std::array<std::uint32_t, 2> boundStrides{};
    Handle boundIndexBuffer;
    Handle boundVertexShader;
    Handle boundPixelShader;
    Handle boundGeometryShader;
    Handle chosenDepthBuffer;

    struct TargetRequest {
        std::uint32_t count = 0; // 0: nothing bound
        std::array<Handle, platform::gpu::MaxRenderTargets> colours{};
        Handle depth; // null: no depth attachment
    };
    TargetRequest target;
    const platform::gpu::Framebuffer* boundFramebuffer = nullptr;
    // GL names of the textures attached to the bound framebuffer, which units must not read.
    std::vector<std::uint32_t> attachedTextures;

    struct FramebufferKey {
        std::uint32_t count = 0;
        std::array<std::uint64_t, platform::gpu::MaxRenderTargets> colours{};
        std::uint64_t depth = 0;
        auto operator<=>(const FramebufferKey&) const = default;
    };
    std::map<FramebufferKey, platform::gpu::Framebuffer> framebuffers;

    struct ProgramKey {
        std::uint64_t vertex = 0;
        std::uint64_t geometry = 0;
        std::uint64_t pixel = 0;
        auto operator<=>(const ProgramKey&) const = default;
    };
    struct LinkedProgram {
        platform::gpu::Program program;
        bool failed = false;
        // Texture unit and the sampler state slot it reads with.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> units;
    };
    std::map<ProgramKey, LinkedProgram> programs;
    LinkedProgram* currentProgram = nullptr;
    std::uint32_t usedProgram = 0;
    // The vertex array bound on the GPU (its shader's generation), 0 for none.
    std::uint64_t usedLayout = 0;

    bool targetDirty = false;
    bool programDirty = true;
    bool inputsDirty = true;
    bool texturesDirty = true;
    bool uniformsDirty = true;

    void MarkAllDirty()
    {
        targetDirty = programDirty = inputsDirty = texturesDirty = uniformsDirty = true;
    }

    // GL thread only. Runs the queued uploads in order and destroys what other threads
    // released. Takes the mutex itself.
    void RunUploads();
    // GL thread, mutex held. Drops every cached program and framebuffer made with the objects of
    // that generation, and makes the next draw apply everything again.
    void Forget(std::uint64_t generation);
    // GL thread, mutex held: the next generation number.
    std::uint64_t NextGeneration() { return nextGeneration++; }
    std::vector<std::uint64_t> graveyardGenerations;
};

} // namespace ZOR
