#include "renderer/Model.h"

#include "tests/support/GLContextFixture.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using ModelOnGL = tarsel::test::GLContextFixture;

std::string ContentPath(const std::string& name)
{
    return (tarsel::test::ContentDir() / name).string();
}

TEST_F(ModelOnGL, GeneratedModelsLoadThroughTheRealBackEnd)
{
    ZOR::DXRenderContext& context = Context();
    ZOR::Handle probe;
    if (!context.CreateVertexBuffer(probe, ZOR::BufferUsage::Static, 16, "0123456789abcdef"))
        GTEST_SKIP() << "this back end cannot create vertex buffers yet";
    context.Release(probe);

    const std::pair<const char*, unsigned> models[] = {
        {"models/sphere.model", 2880}, {"models/cube.model", 36}, {"models/base_idle.model", 1080}};
    for (const auto& [name, vertices] : models) {
        ZOR::Model model;
        ASSERT_TRUE(model.Load(&context, ContentPath(name))) << name;
        EXPECT_EQ(model.GetVertexCount(), vertices) << name;
        EXPECT_TRUE(model.GetVertexBuffer(false)) << name;
        EXPECT_TRUE(model.GetVertexBuffer(true)) << name;
        EXPECT_NE(model.GetVertexBuffer(false), model.GetVertexBuffer(true)) << name;
        context.Release(model.GetVertexBuffer(false));
        context.Release(model.GetVertexBuffer(true));
    }
}

} // namespace
