#include "tests/renderer/dx11/GpuTestKit.h"

#include <cstring>

namespace tarsel::test {

const char* const QuadVS = R"(#version 450
layout(location = 0) in vec2 POSITION;
layout(location = 1) in vec2 UV;
layout(location = 0) out vec2 uv;
void main()
{
    uv = UV;
    gl_Position = vec4(POSITION, 0.0, 1.0);
}
)";

const char* const ColourPS = R"(#version 450
layout(std140, row_major, binding = 14) uniform Colour { vec4 colour; };
layout(location = 0) out vec4 target0;
void main()
{
    target0 = colour;
}
)";

const char* const TexturePS = R"(#version 450
layout(binding = 0) uniform sampler2D Texture_s0;
layout(location = 0) in vec2 uv;
layout(location = 0) out vec4 target0;
void main()
{
    target0 = texture(Texture_s0, uv);
}
)";

std::vector<ZOR::InputElement> QuadLayout()
{
    return {{"POSITION", ZOR::Format::R32G32_FLOAT, false}, {"UV", ZOR::Format::R32G32_FLOAT, false}};
}

std::string GpuTest::WriteFile(const std::string& name, const std::string& text)
{
    Folder().Write(name, text);
    return (Folder() / name).string();
}

ZOR::Handle GpuTest::VertexShader(const std::string& source, const std::vector<ZOR::InputElement>& layout)
{
    Handle handle;
    const std::string path = WriteFile("shader" + std::to_string(++m_fileCounter) + ".vs", source);
    EXPECT_TRUE(Context().CreateVertexShader(handle, path, layout, true, "main"));
    return handle;
}

ZOR::Handle GpuTest::PixelShader(const std::string& source)
{
    Handle handle;
    const std::string path = WriteFile("shader" + std::to_string(++m_fileCounter) + ".ps", source);
    EXPECT_TRUE(Context().CreatePixelShader(handle, path, true, "main"));
    return handle;
}

ZOR::Handle GpuTest::Target(std::uint32_t width, std::uint32_t height, ZOR::Format format)
{
    Handle handle;
    EXPECT_TRUE(Context().CreateRenderTarget(handle, ZOR::RenderTargetPolicy::FixedSize, format, 1.0f,
                                             ZOR::Dimension(width, height)));
    return handle;
}

ZOR::Handle GpuTest::BoundTarget(std::uint32_t width, std::uint32_t height)
{
    const Handle handle = Target(width, height);
    Context().BindRenderTarget(handle);
    Context().SetViewport(ZOR::Viewport(0, 0, ZOR::Dimension(width, height), 0, 1));
    return handle;
}

ZOR::Handle GpuTest::Quad(float x0, float y0, float x1, float y1)
{
    const float v[] = {x0, y1, 0, 0, x1, y0, 1, 1, x1, y1, 1, 0, x0, y1, 0, 0, x0, y0, 0, 1, x1, y0, 1, 1};
    Handle handle;
    EXPECT_TRUE(Context().CreateVertexBuffer(handle, ZOR::BufferUsage::Static, sizeof(v), v));
    return handle;
}

ZOR::Handle GpuTest::ColourBuffer(float r, float g, float b, float a)
{
    Handle handle;
    EXPECT_TRUE(Context().CreateConstantBuffer(handle, 16));
    const float colour[] = {r, g, b, a};
    Context().CopyData(handle, colour, sizeof(colour));
    Context().BindConstantBuffer(0, handle, ZOR::ObjectType::PixelShader);
    return handle;
}

void GpuTest::UseColourPipeline()
{
    if (!m_quadVS) {
        m_quadVS = VertexShader(QuadVS, QuadLayout());
        m_colourPS = PixelShader(ColourPS);
        m_quad = Quad();
    }
    Context().BindVertexShader(m_quadVS);
    Context().BindPixelShader(m_colourPS);
    Context().BindVertexBuffer(m_quad, 16);
}

ZOR::DXRenderContext::ReadBackData GpuTest::Read(const Handle& handle)
{
    ZOR::DXRenderContext::ReadBackData data;
    EXPECT_TRUE(Context().ReadBack(handle, data));
    return data;
}

std::array<int, 4> GpuTest::Pixel(const ZOR::DXRenderContext::ReadBackData& data, std::uint32_t x,
                                  std::uint32_t y)
{
    std::array<int, 4> pixel{-1, -1, -1, -1};
    const std::size_t offset = (std::size_t{y} * data.size.width + x) * 4;
    if (x < data.size.width && y < data.size.height && offset + 4 <= data.bytes.size()) {
        for (int c = 0; c < 4; ++c)
            pixel[static_cast<std::size_t>(c)] = data.bytes[offset + static_cast<std::size_t>(c)];
    }
    return pixel;
}

float GpuTest::Float(const ZOR::DXRenderContext::ReadBackData& data, std::uint32_t x, std::uint32_t y,
                     std::uint32_t components, std::uint32_t c)
{
    const std::size_t offset = ((std::size_t{y} * data.size.width + x) * components + c) * 4;
    float value = -1.0f;
    if (x < data.size.width && y < data.size.height && offset + 4 <= data.bytes.size())
        std::memcpy(&value, data.bytes.data() + offset, 4);
    return value;
}

} // namespace tarsel::test
