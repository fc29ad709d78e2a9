#pragma once
// The renderer's graphics back end: the interface everything above it draws through, the handle
// that names every GPU object, the enumerations and formats the operations take, the log
// function and the back end's exception.
#include "platform/gpu/GpuTypes.h"
#include "renderer/Config.h"
#include "renderer/dx11/DisplaySettings.h"
#include "renderer/math/Color.h"
#include "renderer/math/Dimension.h"
#include "renderer/math/Viewport.h"

#include <cstdarg>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#define ZOR_PRINTF_FORMAT(formatIndex, firstArgument) __attribute__((format(printf, formatIndex, firstArgument)))

namespace platform {
class NativeWindow;
}

namespace ZOR {

// Writes one line to standard output: the text formatted printf-style, cut to 2047 characters,
// then a newline, in one write (loader threads log too). A null format writes "Error!".
void Log(const char* format, ...) ZOR_PRINTF_FORMAT(1, 2);
void LogV(const char* format, std::va_list arguments);

enum class ObjectType : std::uint32_t {
    BackBuffer = 0,
    DepthBuffer = 1,
    Texture = 2,
    RenderTarget = 3,
    VertexShader = 4,
    PixelShader = 5,
    GeometryShader = 6,
    ComputeShader = 7,
    VertexBuffer = 8,
    IndexBuffer = 9,
    ConstantBuffer = 10,
};

// Names a GPU object: its kind and its slot in the back end's table for that kind. The null
// handle has both fields all ones; {BackBuffer, 0} is the back buffer.
struct Handle {
    static constexpr std::uint32_t Invalid = 0xFFFFFFFFu;

    ObjectType type;
    std::uint32_t index;

    constexpr Handle() : type(static_cast<ObjectType>(Invalid)), index(Invalid) {}
    constexpr Handle(ObjectType type_, std::uint32_t index_) : type(type_), index(index_) {}

    // One shared null handle, read-only: a creation given it would otherwise fill it in for
    // everyone. Take a copy where a handle of one's own is needed.
    static const Handle& Null();

    explicit constexpr operator bool() const
    {
        return static_cast<std::uint32_t>(type) != Invalid && index != Invalid;
    }
    constexpr std::uint32_t operator*() const { return index; }
    constexpr ObjectType GetType() const { return type; }
    constexpr bool operator==(const Handle& other) const { return type == other.type && index == other.index; }
    constexpr bool operator!=(const Handle& other) const { return !(*this == other); }
};

enum class BlendMode : std::uint32_t { None = 0, Alpha = 1, Additive = 2, PureAdditive = 3 };
enum class CullMode : std::uint32_t { None = 0, Back = 1, Front = 2 };
enum class FillMode : std::uint32_t { Solid = 0, Wireframe = 1 };
enum class PrimitiveTopology : std::uint32_t { PointList = 0, LineList = 1, TriangleList = 2, TriangleStrip = 3 };
enum class BufferUsage : std::uint32_t { Default = 0, Static = 1, Dynamic = 2 };
enum class RenderTargetPolicy : std::uint32_t { ScreenSize = 0, FixedSize = 1, ScaledScreenSize = 2 };

// Element formats. Not every operation takes every value: see FormatInfo.
enum class Format : std::uint32_t {
    R8_UNORM = 0,
    R8G8_UNORM,
    R8G8B8A8_UNORM,
    B8G8R8A8_UNORM,
    R32_UINT,
    R32G32_UINT,
    R32G32B32_UINT,
    R32G32B32A32_UINT,
    R32_SINT,
    R32G32_SINT,
    R32G32B32_SINT,
    R32G32B32A32_SINT,
    R32_FLOAT,
    R32G32_FLOAT,
    R32G32B32_FLOAT,
    R32G32B32A32_FLOAT,
    R16_FLOAT,
    R16G16_FLOAT,
    R16G16B16A16_FLOAT,
};
constexpr std::uint32_t FormatCount = 19;

// What a Format means on the GPU and where it is accepted.
struct FormatInfo {
    platform::gpu::DataFormat format = platform::gpu::DataFormat::Unknown;
    bool renderTarget = false;
    std::uint32_t textureBytesPerPixel = 0; // 0: not accepted for a texture made from memory
    bool vertexInput = false;
};
FormatInfo GetFormatInfo(Format format);
// The GPU format for each use; Unknown for a value the use does not accept, which then fails.
platform::gpu::DataFormat RenderTargetFormat(Format format);
platform::gpu::DataFormat TextureFormat(Format format);
platform::gpu::DataFormat VertexInputFormat(Format format);

struct DisplayMode {
    Dimension resolution;
    std::uint32_t refreshRate = 0; // whole hertz

    DisplayMode() = default;
    DisplayMode(const Dimension& resolution_, std::uint32_t refreshRate_)
        : resolution(resolution_), refreshRate(refreshRate_)
    {
    }
};

// One element of a vertex layout; per-instance elements are read from the instance stream.
struct InputElement {
    std::string semanticName;
    Format format;
    bool perInstance;

    InputElement(std::string semanticName_, Format format_, bool perInstance_)
        : semanticName(std::move(semanticName_)), format(format_), perInstance(perInstance_)
    {
    }
};

// The graphics back end. One instance per process is registered; DXRenderContext is the
// implementation. Operations other than the base getters and setters need Initialize first.
class RenderContext {
public:
    // Raised by a failing GPU call. Building it leaves full screen and asks for an "Error!" box,
    // both on the main thread only; the operation that catches it logs "Error: %s".
    class RenderContextException {
    public:
        explicit RenderContextException(const char* format, ...) ZOR_PRINTF_FORMAT(2, 3);
        const char* what() const noexcept { return m_message.c_str(); }
        const std::string& GetMessage() const noexcept { return m_message; }

    private:
        std::string m_message;
    };

    explicit RenderContext(const Config& config);
    virtual ~RenderContext();
    RenderContext(const RenderContext&) = delete;
    RenderContext& operator=(const RenderContext&) = delete;

    // Virtual operations in slot order.
    virtual bool Initialize() = 0;
    virtual void ClearBackBuffer() = 0;
    virtual void SwapBuffers() = 0;
    virtual void Draw(std::uint32_t vertexCount, std::uint32_t startVertex) = 0;
    virtual void DrawIndexed(std::uint32_t indexCount, std::uint32_t startIndex, std::uint32_t baseVertex) = 0;
    virtual void DrawInstanced(std::uint32_t verticesPerInstance, std::uint32_t instanceCount,
                               std::uint32_t startVertex, std::uint32_t startInstance) = 0;
    virtual void DrawIndexedInstanced(std::uint32_t indicesPerInstance, std::uint32_t instanceCount,
                                      std::uint32_t startIndex, std::uint32_t baseVertex,
                                      std::uint32_t startInstance) = 0;
    virtual void RunComputeShader(std::uint32_t x, std::uint32_t y, std::uint32_t z) = 0;
    virtual bool CreateTexture(Handle& handle, const void* pixels, const Dimension& size, Format format) = 0;
    virtual bool CreateTexture(Handle& handle, const std::string& path, bool mipMaps) = 0;
    virtual bool CreateRenderTarget(Handle& handle, RenderTargetPolicy policy, Format format, float scale,
                                    const Dimension& size) = 0;
    virtual bool CreateVertexShader(Handle& handle, const std::string& path, const std::vector<InputElement>& layout,
                                    bool precompiled, const std::string& entryPoint) = 0;
    virtual bool CreatePixelShader(Handle& handle, const std::string& path, bool precompiled,
                                   const std::string& entryPoint) = 0;
    virtual bool CreateGeometryShader(Handle& handle, const std::string& path, bool precompiled,
                                      const std::string& entryPoint) = 0;
    virtual bool CreateVertexBuffer(Handle& handle, BufferUsage usage, std::uint32_t bytes, const void* data) = 0;
    virtual bool CreateIndexBuffer(Handle& handle, BufferUsage usage, std::uint32_t bytes, const void* data) = 0;
    virtual bool CreateConstantBuffer(Handle& handle, std::uint32_t bytes) = 0;
    virtual bool CreateDepthBuffer(Handle& handle, const Handle& attachTo, const Dimension& size) = 0;
    virtual bool BindTexture(std::uint32_t slot, const Handle& handle) = 0;
    virtual bool BindTextures(std::uint32_t count, const Handle* handles) = 0;
    virtual bool BindRenderTarget(const Handle& handle) = 0;
    virtual bool BindRenderTargets(std::uint32_t count, const Handle* handles) = 0;
    virtual bool BindVertexShader(const Handle& handle) = 0;
    virtual bool BindPixelShader(const Handle& handle) = 0;
    virtual bool BindGeometryShader(const Handle& handle) = 0;
    virtual bool BindComputeShader(const Handle& handle) = 0;
    virtual bool BindVertexBuffer(const Handle& handle, std::uint32_t stride) = 0;
    virtual bool BindVertexBuffers(const Handle& first, std::uint32_t firstStride, const Handle& second,
                                   std::uint32_t secondStride) = 0;
    virtual bool BindIndexBuffer(const Handle& handle) = 0;
    virtual bool BindConstantBuffer(std::uint32_t slot, const Handle& handle, ObjectType stage) = 0;
    virtual bool BindConstantBuffers(std::uint32_t count, const Handle* handles, ObjectType stage) = 0;
    virtual bool BindDepthBuffer(const Handle& handle) = 0;
    // Frees the object and sets the caller's handle to null.
    virtual void Release(const Handle& handle) = 0;
    // The window that Initialize presents to.
    virtual void SetTargetWindow(platform::NativeWindow* const& window);
    virtual void SetClearColor(const Color& color);
    virtual void SetClearColor(float r, float g, float b, float a);
    virtual void SetVsync(bool on) = 0;
    // Stores nothing: the level in use is the one read at construction.
    virtual void SetMSAALevel(MSAALevel level);
    virtual void SetFullscreen(bool on) = 0;
    virtual void SetViewport(const Viewport& viewport) = 0;
    virtual void SetPrimitiveTopology(PrimitiveTopology topology) = 0;
    virtual void SetFillMode(FillMode mode) = 0;
    virtual void SetCullMode(CullMode mode) = 0;
    virtual void SetBlendMode(BlendMode mode) = 0;
    virtual void SetAnisotropy(Anisotropy anisotropy) = 0;
    virtual void SetDepthTesting(bool on) = 0;
    virtual void SetDepthWriting(bool on) = 0;
    virtual void SetDisplayMode(const Dimension& resolution) = 0;
    virtual void SetDisplayMode(std::uint32_t index) = 0;
    virtual const Handle& GetBackBuffer();
    virtual bool GetVsync();
    virtual bool GetFullscreen();
    // The OpenGL context (SDL_GLContext); null before Initialize.
    virtual void* GetDevice() = 0;
    virtual const std::vector<DisplayMode>& GetDisplayModeList();
    virtual const DisplayMode& GetCurrentDisplayMode() = 0;
    virtual const Viewport& GetViewport(const Handle& handle) = 0;
    virtual const Dimension& GetTextureSize(const Handle& handle) = 0;
    virtual const std::string& GetGraphicsCardInfo() = 0;
    virtual void CopyData(const Handle& handle, const void* data, std::uint32_t bytes) = 0;
    virtual void CopyResource(const Handle& destination, const Handle& source) = 0;
    virtual void* Map(const Handle& handle) = 0;
    virtual void Unmap(const Handle& handle) = 0;
    virtual void ClearRenderTarget(const Handle& handle, const Color& color) = 0;
    virtual void ClearRenderTarget(const Handle& handle, float r, float g, float b, float a) = 0;
    virtual void ClearDepthBuffer(const Handle& handle) = 0;
    virtual void ResizeDepthBuffer(const Handle& handle, const Dimension& size) = 0;
    // The window's drawable size changed; (0, 0) while minimised.
    virtual void OnSize(std::uint32_t width, std::uint32_t height) = 0;
    // The window came to the front or left it.
    virtual void OnActivate(bool active) = 0;

    // The registered context, or null.
    static RenderContext* Instance();
    Config& GetConfig() { return m_config; }
    // The renderer's log function, ZOR::Log, under the back end's name.
    static constexpr void (*const Log)(const char* format, ...) ZOR_PRINTF_FORMAT(1, 2) = &ZOR::Log;

protected:
    platform::NativeWindow* m_targetWindow = nullptr;
    Color m_clearColor{0.0f, 0.0f, 0.0f, 0.0f};
    Config m_config;
    std::vector<DisplayMode> m_displayModes;
    Viewport m_viewport;
    Handle m_backBuffer{ObjectType::BackBuffer, 0};
};

} // namespace ZOR
