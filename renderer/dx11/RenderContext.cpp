#include "renderer/dx11/RenderContext.h"

#include "platform/ErrorBox.h"
#include "platform/MainThread.h"

#include <array>
#include <atomic>
#include <cstdio>

namespace ZOR {
namespace {

constexpr std::size_t MessageBufferSize = 2048;

std::atomic<RenderContext*>& Registered()
{
    static std::atomic<RenderContext*> registered{nullptr};
    return registered;
}

// Formats into the fixed-size message buffer, cut at its end; a null format gives fallback.
std::string Format2048(const char* fallback, const char* format, std::va_list arguments)
{
    if (!format)
        return fallback;
    std::array<char, MessageBufferSize> buffer{};
    const int written = std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
    if (written < 0)
        return fallback;
    return std::string(buffer.data());
}

using platform::gpu::DataFormat;

constexpr std::array<FormatInfo, FormatCount> FormatTable = {{
    {DataFormat::R8_UNORM, true, 0, false},
    {DataFormat::R8G8_UNORM, true, 0, false},
    {DataFormat::R8G8B8A8_UNORM, true, 4, false},
    {DataFormat::B8G8R8A8_UNORM, false, 4, false},
    {DataFormat::R32_UINT, false, 0, true},
    {DataFormat::R32G32_UINT, false, 0, true},
    {DataFormat::R32G32B32_UINT, false, 0, true},
    {DataFormat::R32G32B32A32_UINT, false, 0, true},
    {DataFormat::R32_SINT, false, 0, true},
    {DataFormat::R32G32_SINT, false, 0, true},
    {DataFormat::R32G32B32_SINT, false, 0, true},
    {DataFormat::R32G32B32A32_SINT, false, 0, true},
    {DataFormat::R32_FLOAT, true, 4, true},
    {DataFormat::R32G32_FLOAT, true, 8, true},
    {DataFormat::R32G32B32_FLOAT, true, 12, true},
    {DataFormat::R32G32B32A32_FLOAT, true, 16, true},
    {DataFormat::R16_FLOAT, true, 0, false},
    {DataFormat::R16G16_FLOAT, true, 0, false},
    {DataFormat::R16G16B16A16_FLOAT, true, 0, false},
}};

} // namespace

void LogV(const char* format, std::va_list arguments)
{
    std::string line = Format2048("Error!", format, arguments);
    line += '\n';
    // One write per line, so that lines from several threads never interleave.
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

void Log(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    LogV(format, arguments);
    va_end(arguments);
}

const Handle& Handle::Null()
{
    static const Handle null;
    return null;
}

FormatInfo GetFormatInfo(Format format)
{
    const auto index = static_cast<std::uint32_t>(format);
    return index < FormatCount ? FormatTable[index] : FormatInfo{};
}

DataFormat RenderTargetFormat(Format format)
{
    const FormatInfo info = GetFormatInfo(format);
    return info.renderTarget ? info.format : DataFormat::Unknown;
}

DataFormat TextureFormat(Format format)
{
    const FormatInfo info = GetFormatInfo(format);
    return info.textureBytesPerPixel != 0 ? info.format : DataFormat::Unknown;
}

DataFormat VertexInputFormat(Format format)
{
    const FormatInfo info = GetFormatInfo(format);
    return info.vertexInput ? info.format : DataFormat::Unknown;
}

RenderContext::RenderContextException::RenderContextException(const char* format, ...)
{
    // Leaving full screen re-creates the back buffer and shows the window, and the box waits for
    // the user: both belong to the main thread. A loader thread's failure is only logged.
    const bool mainThread = platform::IsMainThread();
    if (mainThread) {
        if (RenderContext* context = RenderContext::Instance())
            context->SetFullscreen(false);
    }
    std::va_list arguments;
    va_start(arguments, format);
    m_message = Format2048("Unhandled exception!", format, arguments);
    va_end(arguments);
    if (mainThread)
        platform::ShowErrorBox("Error!", m_message);
}

RenderContext::RenderContext(const Config& config) : m_config(config)
{
    RenderContext* expected = nullptr;
    if (!Registered().compare_exchange_strong(expected, this))
        ZOR::Log("Warning: A ZOR render context already exists!");
}

RenderContext::~RenderContext()
{
    // Only the registered context unregisters: a second one going away must not orphan the first.
    RenderContext* self = this;
    Registered().compare_exchange_strong(self, nullptr);
}

RenderContext* RenderContext::Instance()
{
    return Registered().load();
}

void RenderContext::SetTargetWindow(platform::NativeWindow* const& window)
{
    m_targetWindow = window;
}

void RenderContext::SetClearColor(const Color& color)
{
    m_clearColor = color;
}

void RenderContext::SetClearColor(float r, float g, float b, float a)
{
    m_clearColor = Color(r, g, b, a);
}

void RenderContext::SetMSAALevel(MSAALevel level)
{
    m_config.SaveMSAALevel(level);
}

const Handle& RenderContext::GetBackBuffer()
{
    return m_backBuffer;
}

bool RenderContext::GetVsync()
{
    return m_config.GetVsync();
}

bool RenderContext::GetFullscreen()
{
    return m_config.GetFullscreen();
}

const std::vector<DisplayMode>& RenderContext::GetDisplayModeList()
{
    return m_displayModes;
}

} // namespace ZOR
