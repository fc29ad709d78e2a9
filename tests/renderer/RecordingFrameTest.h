#pragma once
// A render system on a recording context, initialised at 1280 x 720 with the cube and sphere
// models loaded, an octree and every screen's camera looking at the origin; and the recorded
// spelling of the calls the frame tests look for.
#include "renderer/RenderSystem.h"
#include "tests/support/RecordingRenderContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tarsel::test {

class RecordingFrameTest : public ::testing::Test {
protected:
    RecordingFrameTest();

    static std::string Name(const ZOR::Handle& handle) { return RecordingRenderContext::Name(handle); }
    std::string Vs(const char* name) const { return "BindVertexShader(" + Name(system.GetVertexShader(name)) + ")"; }
    std::string Ps(const char* name) const { return "BindPixelShader(" + Name(system.GetPixelShader(name)) + ")"; }

    std::shared_ptr<RecordingRenderContext> context;
    ZOR::RenderSystem system;
};

} // namespace tarsel::test
