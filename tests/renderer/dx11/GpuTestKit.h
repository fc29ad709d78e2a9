#pragma once
// Shared by the GPU tests of the back end: shader sources, a fixture that writes and creates
// shaders, makes small targets and geometry, and reads pixels back.
#include "renderer/dx11/DXRenderContext.h"
#include "tests/support/GLContextFixture.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarsel::test {

// Vertex stage: POSITION (float2, clip space) and UV (float2) per vertex; passes uv on.
extern const char* const QuadVS;
// Pixel stage: writes the colour in pixel constant buffer 0.
extern const char* const ColourPS;
// Pixel stage: writes texture unit 0 at uv, read with sampler state 0 (point clamp).
extern const char* const TexturePS;

// The layout QuadVS reads.
std::vector<ZOR::InputElement> QuadLayout();

class GpuTest : public GLContextFixture {
protected:
    using Handle = ZOR::Handle;

    // Writes the source under the test folder; returns the path.
    std::string WriteFile(const std::string& name, const std::string& text);
    Handle VertexShader(const std::string& source, const std::vector<ZOR::InputElement>& layout);
    Handle PixelShader(const std::string& source);
    // A fixed-size target of the given size (format 2 unless given).
    Handle Target(std::uint32_t width, std::uint32_t height, ZOR::Format format = ZOR::Format::R8G8B8A8_UNORM);
    // A fixed-size RGBA8 target, bound as the only target with a viewport covering it.
    Handle BoundTarget(std::uint32_t width, std::uint32_t height);
    // Two triangles covering the rectangle (x0, y0)-(x1, y1) in clip space, uv (0, 0) at the top
    // left (x0, y1); 6 vertices of 16 bytes.
    Handle Quad(float x0 = -1, float y0 = -1, float x1 = 1, float y1 = 1);
    // A constant buffer holding the colour, bound to pixel slot 0.
    Handle ColourBuffer(float r, float g, float b, float a);
    // Binds QuadVS/ColourPS (made once) and the quad buffer with stride 16.
    void UseColourPipeline();

    ZOR::DXRenderContext::ReadBackData Read(const Handle& handle);
    // RGBA8 pixel (x, y) of a read-back.
    static std::array<int, 4> Pixel(const ZOR::DXRenderContext::ReadBackData& data, std::uint32_t x,
                                    std::uint32_t y);
    // Float texel (x, y) of a depth read-back or of component c of a float target.
    static float Float(const ZOR::DXRenderContext::ReadBackData& data, std::uint32_t x, std::uint32_t y,
                       std::uint32_t components = 1, std::uint32_t c = 0);

private:
    int m_fileCounter = 0;
    Handle m_quadVS;
    Handle m_colourPS;
    Handle m_quad;
};

} // namespace tarsel::test
