#include "tests/support/RecordingRenderContext.h"

namespace tarsel::test {

RecordingRenderContext::RecordingRenderContext(const ZOR::Config& config)
    : RenderContext(config), m_fullscreen(config.GetFullscreen())
{
}

std::vector<std::uint8_t> RecordingRenderContext::LastCopy(const ZOR::Handle& handle) const
{
    std::lock_guard lock(m_mutex);
    for (auto it = m_copies.rbegin(); it != m_copies.rend(); ++it)
        if (it->first == handle)
            return it->second;
    return {};
}

std::vector<std::string> RecordingRenderContext::Calls() const
{
    std::lock_guard lock(m_mutex);
    return m_calls;
}

void RecordingRenderContext::ClearCalls()
{
    std::lock_guard lock(m_mutex);
    m_calls.clear();
}

std::size_t RecordingRenderContext::Count(const std::string& name) const
{
    std::lock_guard lock(m_mutex);
    std::size_t count = 0;
    for (const std::string& call : m_calls)
        if (call.compare(0, name.size() + 1, name + "(") == 0)
            ++count;
    return count;
}

bool RecordingRenderContext::Allocate(ZOR::Handle& handle, ZOR::ObjectType type)
{
    if (handle)
        return true;
    std::lock_guard lock(m_mutex);
    handle = ZOR::Handle(type, m_nextSlot[static_cast<std::uint32_t>(type)]++);
    return true;
}

std::string RecordingRenderContext::Name(const ZOR::Handle& handle)
{
    std::ostringstream text;
    Print(text, handle);
    return text.str();
}

void RecordingRenderContext::Print(std::ostream& out, const ZOR::Handle& handle)
{
    if (!handle)
        out << "null";
    else
        out << '{' << static_cast<std::uint32_t>(handle.type) << ", " << handle.index << '}';
}

void RecordingRenderContext::Print(std::ostream& out, const ZOR::Dimension& size)
{
    out << size.width << 'x' << size.height;
}

void RecordingRenderContext::Print(std::ostream& out, const ZOR::Color& color)
{
    out << '(' << color.r << ", " << color.g << ", " << color.b << ", " << color.a << ')';
}

void RecordingRenderContext::Print(std::ostream& out, const ZOR::Viewport& viewport)
{
    out << '(' << viewport.x << ", " << viewport.y << ", " << viewport.size.width << 'x' << viewport.size.height
        << ", " << viewport.minDepth << ", " << viewport.maxDepth << ')';
}

void RecordingRenderContext::Print(std::ostream& out, const std::string& text)
{
    out << '"' << text << '"';
}

void RecordingRenderContext::Print(std::ostream& out, const std::vector<ZOR::InputElement>& layout)
{
    out << '[';
    for (std::size_t i = 0; i < layout.size(); ++i)
        out << (i ? " " : "") << layout[i].semanticName << ':' << static_cast<std::uint32_t>(layout[i].format)
            << (layout[i].perInstance ? ":instance" : "");
    out << ']';
}

void RecordingRenderContext::Print(std::ostream& out, const void* pointer)
{
    out << (pointer ? "pointer" : "null");
}

void RecordingRenderContext::Print(std::ostream& out, bool value)
{
    out << (value ? "true" : "false");
}

void RecordingRenderContext::Print(std::ostream& out, float value)
{
    out << value;
}

void RecordingRenderContext::Print(std::ostream& out, std::uint32_t value)
{
    out << value;
}

bool RecordingRenderContext::Initialize()
{
    Record("Initialize");
    return initializeResult;
}

void RecordingRenderContext::ClearBackBuffer()
{
    Record("ClearBackBuffer");
}

void RecordingRenderContext::SwapBuffers()
{
    Record("SwapBuffers");
}

void RecordingRenderContext::Draw(std::uint32_t vertexCount, std::uint32_t startVertex)
{
    m_drawCount.fetch_add(1, std::memory_order_relaxed);
    Record("Draw", vertexCount, startVertex);
}

void RecordingRenderContext::DrawIndexed(std::uint32_t indexCount, std::uint32_t startIndex, std::uint32_t baseVertex)
{
    m_drawCount.fetch_add(1, std::memory_order_relaxed);
    Record("DrawIndexed", indexCount, startIndex, baseVertex);
}

void RecordingRenderContext::DrawInstanced(std::uint32_t verticesPerInstance, std::uint32_t instanceCount, std::uint32_t startVertex, std::uint32_t startInstance)
{
    m_drawCount.fetch_add(1, std::memory_order_relaxed);
    Record("DrawInstanced", verticesPerInstance, instanceCount, startVertex, startInstance);
}

void RecordingRenderContext::DrawIndexedInstanced(std::uint32_t indicesPerInstance, std::uint32_t instanceCount, std::uint32_t startIndex, std::uint32_t baseVertex, std::uint32_t startInstance)
{
    m_drawCount.fetch_add(1, std::memory_order_relaxed);
    Record("DrawIndexedInstanced", indicesPerInstance, instanceCount, startIndex, baseVertex, startInstance);
}

void RecordingRenderContext::RunComputeShader(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    Record("RunComputeShader", x, y, z);
}

bool RecordingRenderContext::CreateTexture(ZOR::Handle& handle, const void* pixels, const ZOR::Dimension& size, ZOR::Format format)
{
    Record("CreateTexture", handle, pixels, size, format);
    return Allocate(handle, ZOR::ObjectType::Texture);
}

bool RecordingRenderContext::CreateTexture(ZOR::Handle& handle, const std::string& path, bool mipMaps)
{
    Record("CreateTexture", handle, path, mipMaps);
    return Allocate(handle, ZOR::ObjectType::Texture);
}

bool RecordingRenderContext::CreateRenderTarget(ZOR::Handle& handle, ZOR::RenderTargetPolicy policy, ZOR::Format format, float scale, const ZOR::Dimension& size)
{
    Record("CreateRenderTarget", handle, policy, format, scale, size);
    return Allocate(handle, ZOR::ObjectType::RenderTarget);
}

bool RecordingRenderContext::CreateVertexShader(ZOR::Handle& handle, const std::string& path, const std::vector<ZOR::InputElement>& layout, bool precompiled, const std::string& entryPoint)
{
    Record("CreateVertexShader", handle, path, layout, precompiled, entryPoint);
    return Allocate(handle, ZOR::ObjectType::VertexShader);
}

bool RecordingRenderContext::CreatePixelShader(ZOR::Handle& handle, const std::string& path, bool precompiled, const std::string& entryPoint)
{
    Record("CreatePixelShader", handle, path, precompiled, entryPoint);
    return Allocate(handle, ZOR::ObjectType::PixelShader);
}

bool RecordingRenderContext::CreateGeometryShader(ZOR::Handle& handle, const std::string& path, bool precompiled, const std::string& entryPoint)
{
    Record("CreateGeometryShader", handle, path, precompiled, entryPoint);
    return Allocate(handle, ZOR::ObjectType::GeometryShader);
}

bool RecordingRenderContext::CreateVertexBuffer(ZOR::Handle& handle, ZOR::BufferUsage usage, std::uint32_t bytes, const void* data)
{
    Record("CreateVertexBuffer", handle, usage, bytes, data);
    return Allocate(handle, ZOR::ObjectType::VertexBuffer);
}

bool RecordingRenderContext::CreateIndexBuffer(ZOR::Handle& handle, ZOR::BufferUsage usage, std::uint32_t bytes, const void* data)
{
    Record("CreateIndexBuffer", handle, usage, bytes, data);
    return Allocate(handle, ZOR::ObjectType::IndexBuffer);
}

bool RecordingRenderContext::CreateConstantBuffer(ZOR::Handle& handle, std::uint32_t bytes)
{
    Record("CreateConstantBuffer", handle, bytes);
    return Allocate(handle, ZOR::ObjectType::ConstantBuffer);
}

bool RecordingRenderContext::CreateDepthBuffer(ZOR::Handle& handle, const ZOR::Handle& attachTo, const ZOR::Dimension& size)
{
    Record("CreateDepthBuffer", handle, attachTo, size);
    return Allocate(handle, ZOR::ObjectType::DepthBuffer);
}

bool RecordingRenderContext::BindTexture(std::uint32_t slot, const ZOR::Handle& handle)
{
    Record("BindTexture", slot, handle);
    return true;
}

bool RecordingRenderContext::BindTextures(std::uint32_t count, const ZOR::Handle* handles)
{
    Record("BindTextures", count, handles);
    return true;
}

bool RecordingRenderContext::BindRenderTarget(const ZOR::Handle& handle)
{
    Record("BindRenderTarget", handle);
    return true;
}

bool RecordingRenderContext::BindRenderTargets(std::uint32_t count, const ZOR::Handle* handles)
{
    Record("BindRenderTargets", count, handles);
    return true;
}

bool RecordingRenderContext::BindVertexShader(const ZOR::Handle& handle)
{
    Record("BindVertexShader", handle);
    return true;
}

bool RecordingRenderContext::BindPixelShader(const ZOR::Handle& handle)
{
    Record("BindPixelShader", handle);
    return true;
}

bool RecordingRenderContext::BindGeometryShader(const ZOR::Handle& handle)
{
    Record("BindGeometryShader", handle);
    return true;
}

bool RecordingRenderContext::BindComputeShader(const ZOR::Handle& handle)
{
    Record("BindComputeShader", handle);
    return true;
}

bool RecordingRenderContext::BindVertexBuffer(const ZOR::Handle& handle, std::uint32_t stride)
{
    Record("BindVertexBuffer", handle, stride);
    return true;
}

bool RecordingRenderContext::BindVertexBuffers(const ZOR::Handle& first, std::uint32_t firstStride, const ZOR::Handle& second, std::uint32_t secondStride)
{
    Record("BindVertexBuffers", first, firstStride, second, secondStride);
    return true;
}

bool RecordingRenderContext::BindIndexBuffer(const ZOR::Handle& handle)
{
    Record("BindIndexBuffer", handle);
    return true;
}

bool RecordingRenderContext::BindConstantBuffer(std::uint32_t slot, const ZOR::Handle& handle, ZOR::ObjectType stage)
{
    Record("BindConstantBuffer", slot, handle, stage);
    return true;
}

bool RecordingRenderContext::BindConstantBuffers(std::uint32_t count, const ZOR::Handle* handles, ZOR::ObjectType stage)
{
    Record("BindConstantBuffers", count, handles, stage);
    return true;
}

bool RecordingRenderContext::BindDepthBuffer(const ZOR::Handle& handle)
{
    Record("BindDepthBuffer", handle);
    return true;
}

void RecordingRenderContext::Release(const ZOR::Handle& handle)
{
    Record("Release", handle);
    const_cast<ZOR::Handle&>(handle) = ZOR::Handle();
}

void RecordingRenderContext::SetTargetWindow(platform::NativeWindow* const& window)
{
    Record("SetTargetWindow", window);
    RenderContext::SetTargetWindow(window);
}

void RecordingRenderContext::SetClearColor(const ZOR::Color& color)
{
    Record("SetClearColor", color);
    RenderContext::SetClearColor(color);
}

void RecordingRenderContext::SetClearColor(float r, float g, float b, float a)
{
    Record("SetClearColor", r, g, b, a);
    RenderContext::SetClearColor(r, g, b, a);
}

void RecordingRenderContext::SetVsync(bool on)
{
    Record("SetVsync", on);
}

void RecordingRenderContext::SetMSAALevel(ZOR::MSAALevel level)
{
    Record("SetMSAALevel", level);
    RenderContext::SetMSAALevel(level);
}

void RecordingRenderContext::SetFullscreen(bool on)
{
    Record("SetFullscreen", on);
    m_fullscreen = on;
}

void RecordingRenderContext::SetViewport(const ZOR::Viewport& viewport)
{
    Record("SetViewport", viewport);
    m_viewport = viewport;
}

void RecordingRenderContext::SetPrimitiveTopology(ZOR::PrimitiveTopology topology)
{
    Record("SetPrimitiveTopology", topology);
}

void RecordingRenderContext::SetFillMode(ZOR::FillMode mode)
{
    Record("SetFillMode", mode);
}

void RecordingRenderContext::SetCullMode(ZOR::CullMode mode)
{
    Record("SetCullMode", mode);
}

void RecordingRenderContext::SetBlendMode(ZOR::BlendMode mode)
{
    Record("SetBlendMode", mode);
}

void RecordingRenderContext::SetAnisotropy(ZOR::Anisotropy anisotropy)
{
    Record("SetAnisotropy", anisotropy);
}

void RecordingRenderContext::SetDepthTesting(bool on)
{
    Record("SetDepthTesting", on);
}

void RecordingRenderContext::SetDepthWriting(bool on)
{
    Record("SetDepthWriting", on);
}

void RecordingRenderContext::SetDisplayMode(const ZOR::Dimension& resolution)
{
    Record("SetDisplayMode", resolution);
}

void RecordingRenderContext::SetDisplayMode(std::uint32_t index)
{
    Record("SetDisplayMode", index);
}

const ZOR::Handle& RecordingRenderContext::GetBackBuffer()
{
    Record("GetBackBuffer");
    return RenderContext::GetBackBuffer();
}

bool RecordingRenderContext::GetVsync()
{
    Record("GetVsync");
    return RenderContext::GetVsync();
}

bool RecordingRenderContext::GetFullscreen()
{
    Record("GetFullscreen");
    return m_fullscreen;
}

void* RecordingRenderContext::GetDevice()
{
    Record("GetDevice");
    return nullptr;
}

const std::vector<ZOR::DisplayMode>& RecordingRenderContext::GetDisplayModeList()
{
    Record("GetDisplayModeList");
    return RenderContext::GetDisplayModeList();
}

const ZOR::DisplayMode& RecordingRenderContext::GetCurrentDisplayMode()
{
    Record("GetCurrentDisplayMode");
    return m_currentMode;
}

const ZOR::Viewport& RecordingRenderContext::GetViewport(const ZOR::Handle& handle)
{
    Record("GetViewport", handle);
    return m_viewport;
}

const ZOR::Dimension& RecordingRenderContext::GetTextureSize(const ZOR::Handle& handle)
{
    Record("GetTextureSize", handle);
    return m_textureSize;
}

const std::string& RecordingRenderContext::GetGraphicsCardInfo()
{
    Record("GetGraphicsCardInfo");
    return m_cardInfo;
}

void RecordingRenderContext::CopyData(const ZOR::Handle& handle, const void* data, std::uint32_t bytes)
{
    Record("CopyData", handle, data, bytes);
    if (m_quiet)
        return;
    const auto* first = static_cast<const std::uint8_t*>(data);
    std::lock_guard lock(m_mutex);
    m_copies.emplace_back(handle, data ? std::vector<std::uint8_t>(first, first + bytes) : std::vector<std::uint8_t>());
}

void RecordingRenderContext::CopyResource(const ZOR::Handle& destination, const ZOR::Handle& source)
{
    Record("CopyResource", destination, source);
}

void* RecordingRenderContext::Map(const ZOR::Handle& handle)
{
    Record("Map", handle);
    return nullptr;
}

void RecordingRenderContext::Unmap(const ZOR::Handle& handle)
{
    Record("Unmap", handle);
}

void RecordingRenderContext::ClearRenderTarget(const ZOR::Handle& handle, const ZOR::Color& color)
{
    Record("ClearRenderTarget", handle, color);
}

void RecordingRenderContext::ClearRenderTarget(const ZOR::Handle& handle, float r, float g, float b, float a)
{
    Record("ClearRenderTarget", handle, r, g, b, a);
}

void RecordingRenderContext::ClearDepthBuffer(const ZOR::Handle& handle)
{
    Record("ClearDepthBuffer", handle);
}

void RecordingRenderContext::ResizeDepthBuffer(const ZOR::Handle& handle, const ZOR::Dimension& size)
{
    Record("ResizeDepthBuffer", handle, size);
}

void RecordingRenderContext::OnSize(std::uint32_t width, std::uint32_t height)
{
    Record("OnSize", width, height);
}

void RecordingRenderContext::OnActivate(bool active)
{
    Record("OnActivate", active);
}

} // namespace tarsel::test
