#pragma once
#include "renderer/dx11/RenderContext.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace tarsel::test {

// A render context that draws nothing and records every call, in order, as text:
// "Name(argument, ...)". Handles print as {type, index} or "null", sizes as WxH, colours as
// (r, g, b, a), pointers as "pointer" or "null", strings in quotes. Creation hands out the next
// slot of its kind to a null handle and succeeds; binds succeed; Release nulls the handle.
// Calls may come from several threads.
class RecordingRenderContext : public ZOR::RenderContext {
public:
    // A handle as the recorded calls spell it: {type, index}, or null.
    static std::string Name(const ZOR::Handle& handle);

    explicit RecordingRenderContext(const ZOR::Config& config = ZOR::Config(""));

    std::vector<std::string> Calls() const;
    void ClearCalls();
    // How often a call of that name was recorded.
    std::size_t Count(const std::string& name) const;

    void SetDisplayModes(const std::vector<ZOR::DisplayMode>& modes) { m_displayModes = modes; }
    // What GetCurrentDisplayMode and GetTextureSize answer.
    void SetCurrentDisplayMode(const ZOR::DisplayMode& mode) { m_currentMode = mode; }
    void SetTextureSize(const ZOR::Dimension& size) { m_textureSize = size; }
    // The bytes of the last CopyData into that handle (empty when none).
    std::vector<std::uint8_t> LastCopy(const ZOR::Handle& handle) const;
    bool initializeResult = true;
    // Quiet: calls are only counted, neither recorded nor their copies kept (long runs, where
    // the text would cost more than the frame that makes it).
    void SetQuiet(bool quiet) { m_quiet = quiet; }
    // Calls made, and draws among them, recorded or not.
    std::uint64_t GetCallCount() const { return m_callCount.load(std::memory_order_relaxed); }
    std::uint64_t GetDrawCallCount() const { return m_drawCount.load(std::memory_order_relaxed); }

    bool Initialize() override;
    void ClearBackBuffer() override;
    void SwapBuffers() override;
    void Draw(std::uint32_t vertexCount, std::uint32_t startVertex) override;
    void DrawIndexed(std::uint32_t indexCount, std::uint32_t startIndex, std::uint32_t baseVertex) override;
    void DrawInstanced(std::uint32_t verticesPerInstance, std::uint32_t instanceCount, std::uint32_t startVertex, std::uint32_t startInstance) override;
    void DrawIndexedInstanced(std::uint32_t indicesPerInstance, std::uint32_t instanceCount, std::uint32_t startIndex, std::uint32_t baseVertex, std::uint32_t startInstance) override;
    void RunComputeShader(std::uint32_t x, std::uint32_t y, std::uint32_t z) override;
    bool CreateTexture(ZOR::Handle& handle, const void* pixels, const ZOR::Dimension& size, ZOR::Format format) override;
    bool CreateTexture(ZOR::Handle& handle, const std::string& path, bool mipMaps) override;
    bool CreateRenderTarget(ZOR::Handle& handle, ZOR::RenderTargetPolicy policy, ZOR::Format format, float scale, const ZOR::Dimension& size) override;
    bool CreateVertexShader(ZOR::Handle& handle, const std::string& path, const std::vector<ZOR::InputElement>& layout, bool precompiled, const std::string& entryPoint) override;
    bool CreatePixelShader(ZOR::Handle& handle, const std::string& path, bool precompiled, const std::string& entryPoint) override;
    bool CreateGeometryShader(ZOR::Handle& handle, const std::string& path, bool precompiled, const std::string& entryPoint) override;
    bool CreateVertexBuffer(ZOR::Handle& handle, ZOR::BufferUsage usage, std::uint32_t bytes, const void* data) override;
    bool CreateIndexBuffer(ZOR::Handle& handle, ZOR::BufferUsage usage, std::uint32_t bytes, const void* data) override;
    bool CreateConstantBuffer(ZOR::Handle& handle, std::uint32_t bytes) override;
    bool CreateDepthBuffer(ZOR::Handle& handle, const ZOR::Handle& attachTo, const ZOR::Dimension& size) override;
    bool BindTexture(std::uint32_t slot, const ZOR::Handle& handle) override;
    bool BindTextures(std::uint32_t count, const ZOR::Handle* handles) override;
    bool BindRenderTarget(const ZOR::Handle& handle) override;
    bool BindRenderTargets(std::uint32_t count, const ZOR::Handle* handles) override;
    bool BindVertexShader(const ZOR::Handle& handle) override;
    bool BindPixelShader(const ZOR::Handle& handle) override;
    bool BindGeometryShader(const ZOR::Handle& handle) override;
    bool BindComputeShader(const ZOR::Handle& handle) override;
    bool BindVertexBuffer(const ZOR::Handle& handle, std::uint32_t stride) override;
    bool BindVertexBuffers(const ZOR::Handle& first, std::uint32_t firstStride, const ZOR::Handle& second, std::uint32_t secondStride) override;
    bool BindIndexBuffer(const ZOR::Handle& handle) override;
    bool BindConstantBuffer(std::uint32_t slot, const ZOR::Handle& handle, ZOR::ObjectType stage) override;
    bool BindConstantBuffers(std::uint32_t count, const ZOR::Handle* handles, ZOR::ObjectType stage) override;
    bool BindDepthBuffer(const ZOR::Handle& handle) override;
    void Release(const ZOR::Handle& handle) override;
    void SetTargetWindow(platform::NativeWindow* const& window) override;
    void SetClearColor(const ZOR::Color& color) override;
    void SetClearColor(float r, float g, float b, float a) override;
    void SetVsync(bool on) override;
    void SetMSAALevel(ZOR::MSAALevel level) override;
    void SetFullscreen(bool on) override;
    void SetViewport(const ZOR::Viewport& viewport) override;
    void SetPrimitiveTopology(ZOR::PrimitiveTopology topology) override;
    void SetFillMode(ZOR::FillMode mode) override;
    void SetCullMode(ZOR::CullMode mode) override;
    void SetBlendMode(ZOR::BlendMode mode) override;
    void SetAnisotropy(ZOR::Anisotropy anisotropy) override;
    void SetDepthTesting(bool on) override;
    void SetDepthWriting(bool on) override;
    void SetDisplayMode(const ZOR::Dimension& resolution) override;
    void SetDisplayMode(std::uint32_t index) override;
    const ZOR::Handle& GetBackBuffer() override;
    bool GetVsync() override;
    bool GetFullscreen() override;
    void* GetDevice() override;
    const std::vector<ZOR::DisplayMode>& GetDisplayModeList() override;
    const ZOR::DisplayMode& GetCurrentDisplayMode() override;
    const ZOR::Viewport& GetViewport(const ZOR::Handle& handle) override;
    const ZOR::Dimension& GetTextureSize(const ZOR::Handle& handle) override;
    const std::string& GetGraphicsCardInfo() override;
    void CopyData(const ZOR::Handle& handle, const void* data, std::uint32_t bytes) override;
    void CopyResource(const ZOR::Handle& destination, const ZOR::Handle& source) override;
    void* Map(const ZOR::Handle& handle) override;
    void Unmap(const ZOR::Handle& handle) override;
    void ClearRenderTarget(const ZOR::Handle& handle, const ZOR::Color& color) override;
    void ClearRenderTarget(const ZOR::Handle& handle, float r, float g, float b, float a) override;
    void ClearDepthBuffer(const ZOR::Handle& handle) override;
    void ResizeDepthBuffer(const ZOR::Handle& handle, const ZOR::Dimension& size) override;
    void OnSize(std::uint32_t width, std::uint32_t height) override;
    void OnActivate(bool active) override;

private:
    template <typename... Args>
    void Record(const char* name, const Args&... args)
    {
        m_callCount.fetch_add(1, std::memory_order_relaxed);
        if (m_quiet)
            return;
        std::ostringstream text;
        text << name << '(';
        const char* separator = "";
        ((text << separator, Print(text, args), separator = ", "), ...);
        static_cast<void>(separator);
        text << ')';
        std::lock_guard lock(m_mutex);
        m_calls.push_back(text.str());
    }

    static void Print(std::ostream& out, const ZOR::Handle& handle);
    static void Print(std::ostream& out, const ZOR::Dimension& size);
    static void Print(std::ostream& out, const ZOR::Color& color);
    static void Print(std::ostream& out, const ZOR::Viewport& viewport);
    static void Print(std::ostream& out, const std::string& text);
    static void Print(std::ostream& out, const std::vector<ZOR::InputElement>& layout);
    static void Print(std::ostream& out, const void* pointer);
    static void Print(std::ostream& out, bool value);
    static void Print(std::ostream& out, float value);
    static void Print(std::ostream& out, std::uint32_t value);
    template <typename Enum>
        requires std::is_enum_v<Enum>
    static void Print(std::ostream& out, Enum value)
    {
        out << static_cast<std::uint32_t>(value);
    }

    bool Allocate(ZOR::Handle& handle, ZOR::ObjectType type);

    mutable std::mutex m_mutex;
    bool m_quiet = false;
    std::atomic<std::uint64_t> m_callCount{0};
    std::atomic<std::uint64_t> m_drawCount{0};
    std::vector<std::string> m_calls;
    std::array<std::uint32_t, 11> m_nextSlot{};
    ZOR::DisplayMode m_currentMode;
    bool m_fullscreen;
    std::vector<std::pair<ZOR::Handle, std::vector<std::uint8_t>>> m_copies;
    ZOR::Dimension m_textureSize;
    std::string m_cardInfo = "recording";
};

} // namespace tarsel::test
