#include "renderer/dx11/DXRenderContext.h"

#include "platform/NativeWindow.h"
#include "renderer/Window.h"
#include "renderer/dx11/DXRenderContextImpl.h"

#include <cfloat>

namespace ZOR {

using Exception = RenderContext::RenderContextException;
namespace gpu = platform::gpu;

DXRenderContext::DXRenderContext(const Config& config) : RenderContext(config), m_impl(std::make_unique<Impl>())
{
    Impl& d = *m_impl;
    d.fullscreen = config.GetFullscreen();
    d.vsync = config.GetVsync();
    d.anisotropy = config.GetAnisotropy();
    d.msaaLevel = config.GetMSAALevel();
}

DXRenderContext::~DXRenderContext()
{
    if (m_impl->initialised && m_targetWindow)
        m_targetWindow->SetFullscreen(false);
    m_impl.reset();
    ZOR::Log("Notice: ZOR has successfully shutdown.");
}

bool DXRenderContext::IsInitialized() const
{
    return m_impl->initialised;
}

bool DXRenderContext::IsGLThread() const
{
    return m_impl->initialised && std::this_thread::get_id() == m_impl->glThread;
}

std::uint32_t DXRenderContext::GetCurrentDisplayModeIndex() const
{
    return m_impl->currentMode;
}

gpu::SwapChain* DXRenderContext::GetSwapChain()
{
    return m_impl->initialised ? &m_impl->swapChain : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Initialisation

bool DXRenderContext::Initialize()
{
    Impl& d = *m_impl;
    if (d.initialised)
        return true;
    try {
        EnumerateDisplayModes();
        CreateDevice();
        d.swapChain.Create(*m_targetWindow);
        AcquireBackBuffer();
        CreateDepthStencilStates();
        CreateRasterizerStates();
        CreateSamplerStates();
        CreateBlendStates();
        CreateNullTexture();

        d.initialised = true;
        ZOR::Log("Notice: ZOR has been successfully initialized.");
        ApplyFullscreenState(d.fullscreen);
        m_targetWindow->Show();
        BindBackBuffer();
        return true;
    } catch (const Exception& e) {
        ZOR::Log("Error: %s", e.what());
        return false;
    }
}

void DXRenderContext::EnumerateDisplayModes()
{
    Impl& d = *m_impl;
    platform::Display& display = platform::Display::Current();
    std::string error;
    platform::DisplayModeDesc desktop;
    if (!display.GetDesktopMode(desktop, error)) {
        ZOR::Log("Notice: %s", error.c_str());
        throw Exception("Failed to enumerate adapter outputs.");
    }
    std::vector<platform::DisplayModeDesc> offered;
    if (!display.GetModes(offered, error)) {
        ZOR::Log("Notice: %s", error.c_str());
        throw Exception("Failed to get the display mode count.");
    }
    std::vector<DisplayMode> offeredModes;
    offeredModes.reserve(offered.size());
    for (const platform::DisplayModeDesc& mode : offered)
        offeredModes.emplace_back(Dimension(mode.width, mode.height), mode.refreshRate);

    const std::vector<std::size_t> kept = KeepDisplayModes(offeredModes);
    if (kept.empty())
        throw Exception("Failed to get the display mode list.");
    d.modes.clear();
    m_displayModes.clear();
    for (std::size_t index : kept) {
        d.modes.push_back(offered[index]);
        m_displayModes.push_back(offeredModes[index]);
    }
    const DisplayModeChoice choice = ChooseDisplayMode(m_displayModes, m_config.GetResolution());
    d.currentMode = choice.index;
    if (choice.saveResolution) {
        const Dimension& size = m_displayModes[d.currentMode].resolution;
        m_config.SaveResolution(size);
        // The window was made at the empty configured size: a windowed start would keep it
        // 1 x 1 (full screen sizes it to the mode anyway).
        if (m_targetWindow)
            Window::PlaceCentred(*m_targetWindow, size);
    }
}

void DXRenderContext::CreateDevice()
{
    Impl& d = *m_impl;
    // Every context made here is 4.5 core and single-sampled: the configured compatibility mode
    // and MSAA level choose nothing on it.
    if (!m_targetWindow || !m_targetWindow->IsValid())
        throw Exception("Failed to create the DXGI swap chain. Ensure that you call SetTargetWindow before "
                        "initialization.");
    std::string error;
    if (!d.device.Create(*m_targetWindow, error)) {
        ZOR::Log("Notice: %s", error.c_str());
        throw Exception("Failed to create the Direct3D 11 device. Check your compatability mode and device drivers");
    }
    d.glThread = std::this_thread::get_id();
    d.limits = gpu::ImmediateContext::QueryLimits();
    d.graphicsCardInfo = GraphicsCardDescription(d.device.GetRendererName(), d.device.GetVideoMemoryMiB());
}

void DXRenderContext::AcquireBackBuffer()
{
    Impl& d = *m_impl;
    const Dimension& size = m_displayModes[d.currentMode].resolution;
    d.backBufferViewport.Set(0, 0, size, 0.0f, 1.0f);
    std::string error;
    switch (d.swapChain.ResizeBuffers(size.width, size.height, error)) {
    case gpu::SwapChain::BufferResult::Ok:
        break;
    case gpu::SwapChain::BufferResult::TextureFailed:
        ZOR::Log("Notice: %s", error.c_str());
        throw Exception("Failed to acquire the back buffer texture.");
    case gpu::SwapChain::BufferResult::TargetFailed:
        ZOR::Log("Notice: %s", error.c_str());
        throw Exception("Failed to acquire the back buffer render target view.");
    }
    {
        // A new back buffer: framebuffers made with the old one go.
        std::lock_guard lock(d.mutex);
        d.Forget(d.backBufferGeneration);
        d.backBufferGeneration = d.NextGeneration();
    }
    BindBackBuffer();
}

void DXRenderContext::CreateNullTexture()
{
    Impl& d = *m_impl;
    std::string error;
    const std::uint8_t zero[4] = {0, 0, 0, 0};
    // Without it unbound units read what GL gives an empty unit; drawing still works.
    if (!d.nullTexture.Create(1, 1, gpu::DataFormat::R8G8B8A8_UNORM, error) || !d.nullTexture.Write(zero, error))
        ZOR::Log("Notice: no null texture: %s", error.c_str());
    // Large enough for every element of the widest layout at its offset.
    const std::vector<std::uint8_t> zeros(1024, 0);
    if (d.nullVertices.Create(static_cast<std::uint32_t>(zeros.size()), zeros.data(), gpu::BufferUsage::Immutable,
                              error)
        != gpu::Buffer::Result::Ok)
        ZOR::Log("Notice: no null vertex buffer: %s", error.c_str());
}

void DXRenderContext::CreateDepthStencilStates()
{
    Impl& d = *m_impl;
    gpu::DepthStencilDesc base;
    base.depthEnable = true;
    base.depthWrite = true;
    base.depthFunc = gpu::Comparison::Less;
    base.stencilEnable = true;
    base.stencilReadMask = 0xFF;
    base.stencilWriteMask = 0xFF;
    base.front = {gpu::StencilOp::Keep, gpu::StencilOp::Increment, gpu::StencilOp::Keep, gpu::Comparison::Always};
    base.back = {gpu::StencilOp::Keep, gpu::StencilOp::Decrement, gpu::StencilOp::Keep, gpu::Comparison::Always};

    d.depthStates[Impl::TestOnWriteOn] = base;
    gpu::DepthStencilDesc desc = base;
    desc.depthWrite = false;
    d.depthStates[Impl::TestOnWriteOff] = desc;
    desc.depthEnable = false;
    desc.depthFunc = gpu::Comparison::Never;
    d.depthStates[Impl::TestOffWriteOff] = desc;
    desc.depthWrite = true;
    d.depthStates[Impl::TestOffWriteOn] = desc;

    d.context.SetDepthStencilState(d.depthStates[Impl::TestOffWriteOff], 1);
}

void DXRenderContext::CreateRasterizerStates()
{
    Impl& d = *m_impl;
    gpu::RasterizerDesc desc;
    desc.fill = d.fillMode != FillMode::Solid ? gpu::FillMode::Wireframe : gpu::FillMode::Solid;
    desc.frontCounterClockwise = true;
    desc.depthClip = true;
    desc.scissor = false;
    desc.multisample = d.msaaLevel != MSAALevel::Samples1;
    desc.antialiasedLines = false;
    desc.cull = gpu::CullMode::None;
    d.rasterizerStates[0] = desc;
    desc.cull = gpu::CullMode::Back;
    d.rasterizerStates[1] = desc;
    desc.cull = gpu::CullMode::Front;
    d.rasterizerStates[2] = desc;
    d.context.SetRasterizerState(d.rasterizerStates[1]);
}

void DXRenderContext::CreateSamplerStates()
{
    Impl& d = *m_impl;
    struct Filter {
        gpu::Filter filter;
        const char* failure;
    };
    static constexpr Filter filters[] = {
        {gpu::Filter::Point, "Failed to create point sampler state."},
        {gpu::Filter::Bilinear, "Failed to create bilinear sampler state."},
        {gpu::Filter::Trilinear, "Failed to create trilinear sampler state."},
        {gpu::Filter::Anisotropic, "Failed to create anisotropic sampler state."},
    };
    gpu::SamplerDesc desc;
    desc.mipLodBias = 0.0f;
    desc.comparison = gpu::Comparison::Never;
    desc.borderColor = {0.0f, 0.0f, 0.0f, 0.0f};
    desc.minLod = 0.0f;
    desc.maxLod = FLT_MAX;
    desc.maxAnisotropy = MaxAnisotropy(d.anisotropy);

    const gpu::AddressMode addressing[] = {gpu::AddressMode::Clamp, gpu::AddressMode::Wrap};
    std::uint32_t slot = 0;
    for (gpu::AddressMode address : addressing) {
        for (const Filter& filter : filters) {
            desc.filter = filter.filter;
            desc.address = address;
            std::string error;
            if (!d.samplers[slot].Create(desc, error)) {
                ZOR::Log("Notice: %s", error.c_str());
                throw Exception("%s", filter.failure);
            }
            ++slot;
        }
    }
    std::array<const gpu::Sampler*, Impl::SamplerCount> bound{};
    for (std::uint32_t i = 0; i < Impl::SamplerCount; ++i)
        bound[i] = &d.samplers[i];
    d.context.SetSamplers(0, Impl::SamplerCount, bound.data());
    // Units take their sampler from the program at draw; new sampler objects must be applied.
    d.texturesDirty = true;
}

void DXRenderContext::CreateBlendStates()
{
    Impl& d = *m_impl;
    struct Factors {
        gpu::BlendFactor src;
        gpu::BlendFactor dest;
    };
    static constexpr Factors modes[] = {
        {gpu::BlendFactor::SrcAlpha, gpu::BlendFactor::InvSrcAlpha}, // alpha
        {gpu::BlendFactor::SrcAlpha, gpu::BlendFactor::One},         // additive
        {gpu::BlendFactor::One, gpu::BlendFactor::One},              // one plus one
    };
    for (std::size_t mode = 0; mode < 3; ++mode) {
        gpu::BlendDesc desc;
        desc.alphaToCoverage = false;
        desc.independent = true;
        for (std::size_t target = 0; target < gpu::MaxRenderTargets; ++target) {
            gpu::TargetBlendDesc& t = desc.targets[target];
            t.enable = target == 0;
            t.srcColor = modes[mode].src;
            t.destColor = modes[mode].dest;
            t.colorOp = gpu::BlendOp::Add;
            t.srcAlpha = gpu::BlendFactor::One;
            t.destAlpha = gpu::BlendFactor::One;
            t.alphaOp = gpu::BlendOp::Add;
            t.writeMask = 0xF;
        }
        d.blendStates[mode] = desc;
    }
    d.context.SetBlendState(nullptr, {1.0f, 1.0f, 1.0f, 1.0f});
}

void DXRenderContext::BindBackBuffer()
{
    Impl& d = *m_impl;
    std::lock_guard lock(d.mutex);
    d.target = Impl::TargetRequest{};
    d.target.count = 1;
    d.target.colours[0] = m_backBuffer;
    ApplyTargetsLocked();
}

void DXRenderContext::ApplyFullscreenState(bool on)
{
    Impl& d = *m_impl;
    if (!m_targetWindow)
        return;
    if (on && d.currentMode < d.modes.size())
        m_targetWindow->SetFullscreenMode(d.modes[d.currentMode]);
    if (!m_targetWindow->SetFullscreen(on))
        ZOR::Log("Warning: %s", m_targetWindow->Error().c_str());
}

// ---------------------------------------------------------------------------------------------
// Presenting, display settings and states

void DXRenderContext::SwapBuffers()
{
    Impl& d = *m_impl;
    if (!d.initialised)
        return;
    d.swapChain.Present(d.vsync ? 1 : 0);
    // Creations made on other threads during the frame reach the GPU now.
    d.RunUploads();
}

void DXRenderContext::SetVsync(bool on)
{
    m_impl->vsync = on;
    m_config.SaveVsync(on);
}

void DXRenderContext::SetFullscreen(bool on)
{
    Impl& d = *m_impl;
    if (on == d.fullscreen)
        return;
    d.fullscreen = on;
    m_config.SaveFullscreen(on);
    // Before Initialize the window is left alone (Initialize applies the setting), and the mode
    // below is refused with its warning.
    if (d.initialised)
        ApplyFullscreenState(on);
    SetDisplayMode(d.currentMode);
}

void DXRenderContext::SetDisplayMode(std::uint32_t index)
{
    Impl& d = *m_impl;
    // No mode is kept before Initialize, so every index is out of range then.
    const std::size_t kept = d.initialised ? d.modes.size() : 0;
    if (index >= kept) {
        ZOR::Log("Warning: Display mode index %d is out of boundaries. Valid indices are 0-%d", static_cast<int>(index),
                 static_cast<int>(kept) - 1);
        return;
    }
    {
        // Creations on other threads read the mode to size their targets.
        std::lock_guard lock(d.mutex);
        d.currentMode = index;
    }
    const platform::DisplayModeDesc& mode = d.modes[index];
    if (m_targetWindow) {
        m_targetWindow->SetFullscreenMode(mode);
        if (!m_targetWindow->IsFullscreen())
            m_targetWindow->SetSize(mode.width, mode.height);
    }
    try {
        AcquireBackBuffer();
        RecreateModeSizedResources();
    } catch (const Exception& e) {
        ZOR::Log("Error: %s", e.what());
    }
    m_config.SaveResolution(m_displayModes[index].resolution);
}

void DXRenderContext::SetDisplayMode(const Dimension& resolution)
{
    Impl& d = *m_impl;
    for (std::uint32_t i = 0; d.initialised && i < m_displayModes.size(); ++i) {
        const Dimension& size = m_displayModes[i].resolution;
        if (size.width == resolution.width && size.height == resolution.height) {
            SetDisplayMode(i);
            return;
        }
    }
    ZOR::Log("Warning: Unable to find matching display mode for resolution of %dx%d.",
             static_cast<int>(resolution.width), static_cast<int>(resolution.height));
}

void DXRenderContext::SetViewport(const Viewport& viewport)
{
    m_viewport = viewport;
    m_viewport.matrix = PixelTransform(viewport);
    if (!m_impl->initialised)
        return;
    gpu::ViewportDesc desc;
    desc.x = static_cast<float>(viewport.x);
    desc.y = static_cast<float>(viewport.y);
    desc.width = static_cast<float>(viewport.size.width);
    desc.height = static_cast<float>(viewport.size.height);
    desc.minDepth = viewport.minDepth;
    desc.maxDepth = viewport.maxDepth;
    m_impl->context.SetViewport(desc);
}

void DXRenderContext::SetPrimitiveTopology(PrimitiveTopology topology)
{
    if (!m_impl->initialised)
        return;
    switch (topology) {
    case PrimitiveTopology::PointList: m_impl->context.SetPrimitiveTopology(gpu::PrimitiveTopology::PointList); break;
    case PrimitiveTopology::LineList: m_impl->context.SetPrimitiveTopology(gpu::PrimitiveTopology::LineList); break;
    case PrimitiveTopology::TriangleList:
        m_impl->context.SetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
        break;
    case PrimitiveTopology::TriangleStrip:
        m_impl->context.SetPrimitiveTopology(gpu::PrimitiveTopology::TriangleStrip);
        break;
    }
}

void DXRenderContext::SetFillMode(FillMode mode)
{
    m_impl->fillMode = mode;
    if (m_impl->initialised)
        CreateRasterizerStates();
}

void DXRenderContext::SetCullMode(CullMode mode)
{
    Impl& d = *m_impl;
    if (!d.initialised)
        return;
    const std::size_t state = mode == CullMode::None ? 0 : mode == CullMode::Back ? 1 : 2;
    d.context.SetRasterizerState(d.rasterizerStates[state]);
}

void DXRenderContext::SetBlendMode(BlendMode mode)
{
    Impl& d = *m_impl;
    const auto value = static_cast<std::uint32_t>(mode);
    // Only the four known modes have a state; anything else would pick none that exists.
    if (!d.initialised || mode == d.blendMode || value > 3)
        return;
    d.blendMode = mode;
    if (mode == BlendMode::None)
        d.context.SetBlendState(nullptr, {1.0f, 1.0f, 1.0f, 1.0f});
    else
        d.context.SetBlendState(&d.blendStates[value - 1], {1.0f, 1.0f, 1.0f, 1.0f});
}

void DXRenderContext::SetAnisotropy(Anisotropy anisotropy)
{
    m_impl->anisotropy = anisotropy;
    m_config.SaveAnisotropy(anisotropy);
    if (!m_impl->initialised)
        return;
    try {
        CreateSamplerStates();
    } catch (const Exception& e) {
        ZOR::Log("Error: %s", e.what());
    }
}

void DXRenderContext::SetDepthTesting(bool on)
{
    m_impl->depthTesting = on;
}

void DXRenderContext::SetDepthWriting(bool on)
{
    m_impl->depthWriting = on;
}

void* DXRenderContext::GetDevice()
{
    return m_impl->device.GetNativeContext();
}

const DisplayMode& DXRenderContext::GetCurrentDisplayMode()
{
    static const DisplayMode none;
    return m_impl->currentMode < m_displayModes.size() ? m_displayModes[m_impl->currentMode] : none;
}

const Viewport& DXRenderContext::GetViewport(const Handle& handle)
{
    Impl& d = *m_impl;
    if (!handle)
        return m_viewport;
    if (handle.GetType() == ObjectType::BackBuffer && handle == m_backBuffer)
        return d.backBufferViewport;
    std::lock_guard lock(d.mutex);
    if (handle.GetType() == ObjectType::RenderTarget) {
        if (RenderTargetRecord* record = d.renderTargets.At(*handle); record && !record->free)
            return record->viewport;
    }
    ZOR::Log("Warning: GetViewport was given handle {%u, %u}, which names no render target; the current viewport "
             "is returned.",
             static_cast<unsigned>(handle.GetType()), *handle);
    return m_viewport;
}

const std::string& DXRenderContext::GetGraphicsCardInfo()
{
    return m_impl->graphicsCardInfo;
}

void DXRenderContext::OnSize(std::uint32_t width, std::uint32_t height)
{
    // The back buffer keeps the display mode's size; only the area it is presented into follows.
    if (!m_impl->initialised || width == 0 || height == 0)
        return;
    m_impl->swapChain.SetPresentSize(width, height);
}

void DXRenderContext::OnActivate(bool active)
{
    Impl& d = *m_impl;
    if (!d.initialised) {
        ZOR::Log("Notice: ZOR has received an OnActivate message, but ZOR is unitialized.");
        return;
    }
    if (m_targetWindow) {
        if (!d.fullscreen) {
            if (active)
                m_targetWindow->Show();
        } else if (!active) {
            m_targetWindow->Minimise();
            m_targetWindow->SetFullscreen(false);
        } else {
            m_targetWindow->Restore();
            ApplyFullscreenState(true);
            SetDisplayMode(d.currentMode);
        }
    }
    BindBackBuffer();
}

} // namespace ZOR
