// What the back end draws, read back from its targets: the conventions the renderer was
// designed for (origin, depth range, blending, culling, instancing, integer inputs, several
// targets, texture reads and sampler states).
#include "tests/renderer/dx11/GpuTestKit.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

using tarsel::test::StdoutCapture;
using ZOR::Dimension;
using ZOR::Format;
using ZOR::Handle;
using ZOR::ObjectType;
using ZOR::Viewport;

namespace {

using DrawConformance = tarsel::test::GpuTest;

constexpr int Tolerance = 2;

void ExpectPixel(const std::array<int, 4>& pixel, int r, int g, int b, int a, const std::string& where)
{
    EXPECT_NEAR(pixel[0], r, Tolerance) << where;
    EXPECT_NEAR(pixel[1], g, Tolerance) << where;
    EXPECT_NEAR(pixel[2], b, Tolerance) << where;
    EXPECT_NEAR(pixel[3], a, Tolerance) << where;
}

} // namespace

TEST_F(DrawConformance, TheTopOfClipSpaceAndOfTheViewportAndTheFirstTextureRowAreRowZero)
{
    ZOR::DXRenderContext& context = Context();
    const Handle target = Target(4, 4);
    context.ClearRenderTarget(target, 0, 0, 0, 1);
    context.BindRenderTarget(target);
    context.SetViewport(Viewport(0, 0, Dimension(4, 4), 0, 1));
    UseColourPipeline();
    ColourBuffer(1, 0, 0, 1);
    const Handle upperHalf = Quad(-1, 0, 1, 1);
    context.BindVertexBuffer(upperHalf, 16);
    context.Draw(6, 0);
    auto pixels = Read(target);
    ExpectPixel(Pixel(pixels, 0, 0), 255, 0, 0, 255, "row 0");
    ExpectPixel(Pixel(pixels, 3, 1), 255, 0, 0, 255, "row 1");
    ExpectPixel(Pixel(pixels, 0, 2), 0, 0, 0, 255, "row 2");
    ExpectPixel(Pixel(pixels, 3, 3), 0, 0, 0, 255, "row 3");

    // A viewport's y counts from the top as well.
    context.ClearRenderTarget(target, 0, 0, 0, 1);
    UseColourPipeline();
    context.SetViewport(Viewport(0, 3, Dimension(4, 1), 0, 1));
    context.Draw(6, 0);
    pixels = Read(target);
    ExpectPixel(Pixel(pixels, 2, 3), 255, 0, 0, 255, "viewport row 3");
    ExpectPixel(Pixel(pixels, 2, 0), 0, 0, 0, 255, "outside the viewport");

    // Texture row 0 is read at v = 0, which the quad puts at its top.
    const std::uint8_t texels[] = {255, 0, 0, 255, 255, 0, 0, 255, 0, 255, 0, 255, 0, 255, 0, 255};
    Handle texture;
    ASSERT_TRUE(context.CreateTexture(texture, texels, Dimension(2, 2), Format::R8G8B8A8_UNORM));
    context.BindPixelShader(PixelShader(tarsel::test::TexturePS));
    context.BindTexture(0, texture);
    context.SetViewport(Viewport(0, 0, Dimension(4, 4), 0, 1));
    context.Draw(6, 0);
    pixels = Read(target);
    ExpectPixel(Pixel(pixels, 1, 0), 255, 0, 0, 255, "texture row 0");
    ExpectPixel(Pixel(pixels, 1, 3), 0, 255, 0, 255, "texture row 1");
}
