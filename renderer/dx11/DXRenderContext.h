#pragma once
#include "renderer/dx11/RenderContext.h"

#include <memory>
#include <thread>
#include <vector>

namespace platform::gpu {
class SwapChain;
}

namespace ZOR {

// The render context on the platform GPU layer (OpenGL 4.5 core): device, swap chain, display
// modes, full screen, vertical sync and the fixed pipeline states. Display changes are written
// back to the configuration file at once.
class DXRenderContext : public RenderContext {
public:
    explicit DXRenderContext(const Config& config);
    ~DXRenderContext() override;

    bool Initialize() override;
    void ClearBackBuffer() override;
    void SwapBuffers() override;
    void Draw(std::uint32_t vertexCount, std::uint32_t startVertex) override;
    void DrawIndexed(std::uint32_t indexCount, std::uint32_t startIndex, std::uint32_t baseVertex) override;
    void DrawInstanced(std::uint32_t verticesPerInstance, std::uint32_t instanceCount, std::uint32_t startVertex,
                       std::uint32_t startInstance) override;
    void DrawIndexedInstanced(std::uint32_t indicesPerInstance, std::uint32_t instanceCount, std::uint32_t startIndex,
                              std::uint32_t baseVertex, std::uint32_t startInstance) override;
    void RunComputeShader(std::uint32_t x, std::uint32_t y, std::uint32_t z) override;
    bool CreateTexture(Handle& handle, const void* pixels, const Dimension& size, Format format) override;
    bool CreateTexture(Handle& handle, const std::string& path, bool mipMaps) override;
    bool CreateRenderTarget(Handle& handle, RenderTargetPolicy policy, Format format, float scale,
                            const Dimension& size) override;
    bool CreateVertexShader(Handle& handle, const std::string& path, const std::vector<InputElement>& layout,
                            bool precompiled, const std::string& entryPoint) override;
    bool CreatePixelShader(Handle& handle, const std::string& path, bool precompiled,
                           const std::string& entryPoint) override;
    bool CreateGeometryShader(Handle& handle, const std::string& path, bool precompiled,
                              const std::string& entryPoint) override;
    bool CreateVertexBuffer(Handle& handle, BufferUsage usage, std::uint32_t bytes, const void* data) override;
    bool CreateIndexBuffer(Handle& handle, BufferUsage usage, std::uint32_t bytes, const void* data) override;
    bool CreateConstantBuffer(Handle& handle, std::uint32_t bytes) override;
    bool CreateDepthBuffer(Handle& handle, const Handle& attachTo, const Dimension& size) override;
    bool BindTexture(std::uint32_t slot, const Handle& handle) override;
    bool BindTextures(std::uint32_t count, const Handle* handles) override;
    bool BindRenderTarget(const Handle& handle) override;
    bool BindRenderTargets(std::uint32_t count, const Handle* handles) override;
    bool BindVertexShader(const Handle& handle) override;
    bool BindPixelShader(const Handle& handle) override;
    bool BindGeometryShader(const Handle& handle) override;
    bool BindComputeShader(const Handle& handle) override;
    bool BindVertexBuffer(const Handle& handle, std::uint32_t stride) override;
    bool BindVertexBuffers(const Handle& first, std::uint32_t firstStride, const Handle& second,
                           std::uint32_t secondStride) override;
    bool BindIndexBuffer(const Handle& handle) override;
    bool BindConstantBuffer(std::uint32_t slot, const Handle& handle, ObjectType stage) override;
    bool BindConstantBuffers(std::uint32_t count, const Handle* handles, ObjectType stage) override;
    bool BindDepthBuffer(const Handle& handle) override;
    void Release(const Handle& handle) override;
    void SetVsync(bool on) override;
    void SetFullscreen(bool on) override;
    void SetViewport(const Viewport& viewport) override;
    void SetPrimitiveTopology(PrimitiveTopology topology) override;
    void SetFillMode(FillMode mode) override;
    void SetCullMode(CullMode mode) override;
    void SetBlendMode(BlendMode mode) override;
    void SetAnisotropy(Anisotropy anisotropy) override;
    void SetDepthTesting(bool on) override;
    void SetDepthWriting(bool on) override;
    void SetDisplayMode(const Dimension& resolution) override;
    void SetDisplayMode(std::uint32_t index) override;
    void* GetDevice() override;
    const DisplayMode& GetCurrentDisplayMode() override;
    const Viewport& GetViewport(const Handle& handle) override;
    const Dimension& GetTextureSize(const Handle& handle) override;
    const std::string& GetGraphicsCardInfo() override;
    void CopyData(const Handle& handle, const void* data, std::uint32_t bytes) override;
    void CopyResource(const Handle& destination, const Handle& source) override;
    void* Map(const Handle& handle) override;
    void Unmap(const Handle& handle) override;
    void ClearRenderTarget(const Handle& handle, const Color& color) override;
    void ClearRenderTarget(const Handle& handle, float r, float g, float b, float a) override;
    void ClearDepthBuffer(const Handle& handle) override;
    void ResizeDepthBuffer(const Handle& handle, const Dimension& size) override;
    void OnSize(std::uint32_t width, std::uint32_t height) override;
    void OnActivate(bool active) override;

    bool IsInitialized() const;
    // True on the thread that initialised the context, the only one that may make GPU calls.
    bool IsGLThread() const;
    // The index of the current display mode.
    std::uint32_t GetCurrentDisplayModeIndex() const;
    // The presentation chain, for tests that inspect what reaches the window; null before
    // Initialize.
    platform::gpu::SwapChain* GetSwapChain();

    // What a resource holds now, for tests: the first level of a texture, render target or the
    // back buffer in its format (rows top first), a depth buffer as one float a texel, or the
    // bytes of a buffer at its GPU size. False for null, pending or bad handles; GL thread only.
    struct ReadBackData {
        Dimension size;
        platform::gpu::DataFormat format = platform::gpu::DataFormat::Unknown;
        std::vector<std::uint8_t> bytes;
    };
    bool ReadBack(const Handle& handle, ReadBackData& data);
    // The size a buffer was asked for (constant buffers are larger on the GPU); 0 for others.
    std::uint32_t GetRequestedBufferSize(const Handle& handle);
    // Draw calls that reached the GPU since Initialize (refused ones are not counted).
    std::uint64_t GetDrawCallCount();
    // Creations from other threads not yet uploaded.
    std::size_t GetPendingUploadCount();
    // Slots of every kind held by a resource (pending uploads included), not released: flat
    // over a long run when nothing leaks.
    std::size_t GetSlotsInUse();

    // The private state; opaque outside the back end's own sources.
    class Impl;

private:
    // Steps of Initialize; each raises RenderContextException on failure.
    void EnumerateDisplayModes();
    void CreateDevice();
    void AcquireBackBuffer();
    void CreateDepthStencilStates();
    void CreateRasterizerStates();
    void CreateSamplerStates();
    void CreateBlendStates();
    // The 1x1 (0, 0, 0, 0) texture that null, pending and bad texture handles read, and the
    // zeros that stand for a missing vertex buffer.
    void CreateNullTexture();
    // Applies the stored full-screen flag to the window with the current mode.
    void ApplyFullscreenState(bool on);
    void BindBackBuffer();
    // Re-creates the targets that follow the display mode after a mode change.
    void RecreateModeSizedResources();

    // Creation of a depth buffer for both CreateDepthBuffer and ResizeDepthBuffer.
    bool CreateDepthBufferFor(Handle& handle, const Handle& attachTo, const Dimension& size);
    // Mutex held: makes the bound framebuffer match the target request. False when nothing can
    // be drawn into.
    bool ApplyTargetsLocked();
    // Mutex held: brings the pipeline up to date for a draw; false when nothing may be drawn.
    bool PrepareDrawLocked();

    std::unique_ptr<Impl> m_impl;
};

} // namespace ZOR
