#pragma once
// The private state of DXRenderContext, seen only by the back end's own sources.
#include "platform/Display.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/GpuTypes.h"
#include "platform/gpu/ImmediateContext.h"
#include "platform/gpu/Sampler.h"
#include "platform/gpu/SwapChain.h"
#include "renderer/dx11/DXRenderContext.h"
#include "renderer/dx11/DeviceRules.h"

#include <array>
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
    CompatibilityMode compatibilityMode = CompatibilityMode::DirectX10_0;
    MSAALevel msaaLevel = MSAALevel::Samples1;
    std::vector<FeatureLevel> featureLevels;
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

    std::vector<std::uint32_t> sampleCounts;
    std::uint32_t sampleCount = 1;
    std::uint32_t sampleQuality = 0;

    Viewport backBufferViewport;
    std::string graphicsCardInfo;
    Handle lastVertexShader;
    Handle lastPixelShader;
};

} // namespace ZOR
