#pragma once
// A small lit scene on the OpenGL back end for the frame tests: a render system at 320x180 with the
// built content's cube and sphere, plain-coloured materials, helpers that place models and cameras,
// project world points to back-buffer pixels, read the back buffer and save it as a PNG.
#include "renderer/Material.h"
#include "renderer/RenderSystem.h"
#include "renderer/Renderable3D.h"
#include "tests/renderer/dx11/GpuTestKit.h"
#include "tests/support/ContentDir.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace tarsel::test {

class FrameTest : public GpuTest {
protected:
    static constexpr std::uint32_t kWidth = 320;
    static constexpr std::uint32_t kHeight = 180;

    // Makes the window and render system, loads cube, sphere and a white texture, and sets a
    // camera on screen 0 at eye looking at target. Effects all off.
    void SetUpScene(const std::string& shaderDir = std::string());
    // A material named name with a white texture and the given diffuse colour.
    ZOR::Material* ColourMaterial(const std::string& name, float r, float g, float b);
    // A model renderable owned by the test, added to the render system.
    ZOR::Renderable3D& AddModel(const std::string& model, const ZOR::float4x4& world, ZOR::Material* material);
    void SetCamera(unsigned screen, const ZOR::float3& eye, const ZOR::float3& target);
    // Points the shadow caster from far along -direction at the origin.
    void SetSun(const ZOR::float3& direction);
    // Runs one frame (dt 1/60) and reads the back buffer.
    ZOR::DXRenderContext::ReadBackData Frame();
    // Back-buffer pixel of a world point seen by the active camera of screen i (after a frame).
    std::array<int, 2> Project(const ZOR::float3& p, unsigned screen = 0);
    // Writes the read-back to <build>/screenshots/<name>.png.
    void Screenshot(const ZOR::DXRenderContext::ReadBackData& data, const std::string& name);
    static int Luma(const std::array<int, 4>& c) { return (c[0] + c[1] + c[2]) / 3; }

    static ZOR::float4x4 TranslateScale(const ZOR::float3& t, const ZOR::float3& s);

    std::unique_ptr<ZOR::RenderSystem> system;
    std::vector<std::unique_ptr<ZOR::Renderable3D>> models;
};

} // namespace tarsel::test
