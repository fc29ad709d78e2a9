#include "tests/renderer/RecordingFrameTest.h"

#include "tests/support/ContentDir.h"

namespace tarsel::test {

RecordingFrameTest::RecordingFrameTest() : context(std::make_shared<RecordingRenderContext>()), system(context, nullptr)
{
    context->SetDisplayModes({ZOR::DisplayMode({800, 600}, 60), ZOR::DisplayMode({1280, 720}, 60)});
    context->SetCurrentDisplayMode(ZOR::DisplayMode({1280, 720}, 60));
    context->SetTextureSize(ZOR::Dimension(1280, 720));
    EXPECT_TRUE(system.Initialize());
    EXPECT_TRUE(system.LoadModel((ContentDir() / "models/cube.model").string()));
    EXPECT_TRUE(system.LoadModel((ContentDir() / "models/sphere.model").string()));
    system.SetOctree(200.0f, 1.5f, 4);
    for (int s = 0; s < 4; ++s) {
        ZOR::Camera& camera = system.GetScreen(s).GetActiveCamera();
        camera.SetPosition(ZOR::float3(0, 3, 8));
        camera.LookAt(ZOR::float3(0, -3, -8), ZOR::float3(0, 1, 0));
    }
}

} // namespace tarsel::test
