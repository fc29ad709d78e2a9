#include "renderer/Animation.h"
#include "renderer/Font.h"
#include "renderer/Material.h"
#include "renderer/Model.h"
#include "renderer/RenderSystem.h"
#include "tests/support/RecordingRenderContext.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tools/writers/MaterialWriter.h"
#include "tests/support/ContentDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

namespace {

using tarsel::test::RecordingRenderContext;
using ZOR::RenderSystem;

using tarsel::test::ContentDir;

class RenderSystemCacheTest : public ::testing::Test {
protected:
    RenderSystemCacheTest() : context(std::make_shared<RecordingRenderContext>()), system(context, window)
    {
        context->SetDisplayModes({ZOR::DisplayMode({1280, 720}, 60)});
    }

    // A copy of a generated file in the temporary folder, at a relative path.
    std::string Copy(const std::string& generated, const std::string& relative)
    {
        const std::filesystem::path target = folder / relative;
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(ContentDir() / generated, target,
                                   std::filesystem::copy_options::overwrite_existing);
        return target.string();
    }

    tarsel::test::TempDir folder;
    platform::NativeWindow* window = nullptr;
    std::shared_ptr<RecordingRenderContext> context;
    RenderSystem system;
};

TEST_F(RenderSystemCacheTest, NamesAreKeyedByTheTextAfterTheLastSeparatorOfEitherKind)
{
    EXPECT_EQ(RenderSystem::GetResourceName("a/b/stone.dds"), "stone.dds");
    EXPECT_EQ(RenderSystem::GetResourceName("a\\b/c\\stone.dds"), "stone.dds");
    EXPECT_EQ(RenderSystem::GetResourceName("a/b\\stone.dds"), "stone.dds");
    EXPECT_EQ(RenderSystem::GetResourceName("stone.dds"), "stone.dds");
    EXPECT_EQ(RenderSystem::GetResourceName("dir/"), "");

    ASSERT_TRUE(system.LoadTexture("a/b/stone.dds"));
    EXPECT_TRUE(system.GetTexture("stone.dds"));
    EXPECT_FALSE(system.GetTexture("a/b/stone.dds"));
    // Another path to the same name is the same entry: no second texture is made.
    ASSERT_TRUE(system.LoadTexture("x\\y/stone.dds"));
    EXPECT_EQ(context->Count("CreateTexture"), 1u);
}

TEST_F(RenderSystemCacheTest, ASecondLoadDoesNotReadTheFileAgain)
{
    const std::string path = Copy("models/cube.model", "models/crate.model");
    ASSERT_TRUE(system.LoadModel(path));
    ZOR::Model* model = system.GetModel("crate.model");
    ASSERT_NE(model, nullptr);
    std::filesystem::remove(path);
    EXPECT_TRUE(system.LoadModel(path));
    EXPECT_EQ(system.GetModel("crate.model"), model);

    const std::string clip = Copy("animations/run_base.anim", "run.anim");
    ASSERT_TRUE(system.LoadAnimation(clip));
    std::filesystem::remove(clip);
    EXPECT_TRUE(system.LoadAnimation(clip));
    EXPECT_NE(system.GetAnimation("run.anim"), nullptr);
}

TEST_F(RenderSystemCacheTest, FailedLoadsCacheNothingAndLeaveNoBufferBehind)
{
    EXPECT_FALSE(system.LoadModel((folder / "missing.model").string()));
    EXPECT_FALSE(system.LoadAnimation((folder / "missing.anim").string()));
    EXPECT_FALSE(system.LoadFont((folder / "missing.bff").string()));
    EXPECT_EQ(system.GetModel("missing.model"), nullptr);
    EXPECT_EQ(system.GetAnimation("missing.anim"), nullptr);
    EXPECT_EQ(system.GetFont("missing.bff"), nullptr);

    folder.Write("bad.model", std::string("ZOR_MODEL\0garbage", 17));
    folder.Write("bad.bff", "\xBF\xF2 too short");
    tarsel::test::StdoutCapture capture;
    EXPECT_FALSE(system.LoadModel((folder / "bad.model").string()));
    EXPECT_FALSE(system.LoadFont((folder / "bad.bff").string()));
    EXPECT_NE(capture.Text().find("bad.model"), std::string::npos) << capture.Text();
    EXPECT_EQ(system.GetModel("bad.model"), nullptr);
    EXPECT_EQ(system.GetFont("bad.bff"), nullptr);
    EXPECT_EQ(context->Count("CreateVertexBuffer"), context->Count("Release"));
}

TEST_F(RenderSystemCacheTest, UnloadingAModelReleasesBothItsStreams)
{
    ASSERT_TRUE(system.LoadModel(Copy("models/cube.model", "cube.model")));
    ZOR::Model* model = system.GetModel("cube.model");
    ASSERT_NE(model, nullptr);
    const ZOR::Handle full = model->GetVertexBuffer(false);
    const ZOR::Handle positions = model->GetVertexBuffer(true);
    ASSERT_TRUE(full);
    ASSERT_TRUE(positions);
    context->ClearCalls();
    system.UnloadModel("cube.model");
    const auto calls = context->Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], "Release({8, " + std::to_string(*full) + "})");
    EXPECT_EQ(calls[1], "Release({8, " + std::to_string(*positions) + "})");
    EXPECT_EQ(system.GetModel("cube.model"), nullptr);
    system.UnloadModel("cube.model");
}

TEST_F(RenderSystemCacheTest, MaterialsFallBackToTheDefaultAndResolveTheirTextures)
{
    EXPECT_THROW(system.GetMaterial("any.mat"), std::out_of_range) << "no default before Initialize";
    ASSERT_TRUE(system.Initialize());
    ZOR::Material* fallback = system.GetMaterial("");
    EXPECT_EQ(system.GetMaterial("never-loaded.mat"), fallback);
    EXPECT_FLOAT_EQ(fallback->GetSpecularShininess(), 50.0f);
    EXPECT_TRUE(fallback->GetFlag(ZOR::Material::FULL_SPECULAR));
    EXPECT_TRUE(fallback->GetFlag(ZOR::Material::STANDARD_NORMALS));

    // A missing file still caches a material, as constructed.
    EXPECT_TRUE(system.LoadMaterial((folder / "nothing.mat").string()));
    ZOR::Material* nothing = system.GetMaterial("nothing.mat");
    ASSERT_NE(nothing, fallback);
    EXPECT_FLOAT_EQ(nothing->GetSpecularShininess(), 0.0f);
    EXPECT_EQ(nothing->GetData().flags, 17u);

    tarsel::tools::MaterialDescription description;
    description.textures = {"", "later.dds", "unknown.dds", ""};
    ASSERT_TRUE(tarsel::tools::WriteMaterial(description, (folder / "rock.mat").string()));
    ASSERT_TRUE(system.LoadMaterial((folder / "rock.mat").string()));
    ZOR::Material* rock = system.GetMaterial("rock.mat");
    rock->Update(&system);
    EXPECT_EQ(rock->GetTexture(0), system.GetTexture("")) << "empty name: the default texture";
    EXPECT_TRUE(rock->GetTexture(0));
    EXPECT_FALSE(rock->GetTexture(1));
    EXPECT_FALSE(rock->GetTexture(2));
    EXPECT_FALSE(rock->IsDirty());

    // A texture that arrives later is picked up by the forced update.
    ASSERT_TRUE(system.LoadTexture("textures/later.dds"));
    rock->Update(&system);
    EXPECT_FALSE(rock->GetTexture(1)) << "not dirty: nothing is looked up";
    system.ForceUpdateMaterials();
    EXPECT_EQ(rock->GetTexture(1), system.GetTexture("later.dds"));
    EXPECT_FALSE(rock->GetTexture(2));

    system.UnloadMaterials();
    EXPECT_THROW(system.GetMaterial("rock.mat"), std::out_of_range);
}

TEST_F(RenderSystemCacheTest, UnloadingTexturesReleasesThemAndEmptiesTheTable)
{
    ASSERT_TRUE(system.LoadTexture("one.dds"));
    ASSERT_TRUE(system.LoadTexture("two.dds"));
    const ZOR::Handle one = system.GetTexture("one.dds");
    context->ClearCalls();
    system.UnloadTexture("one.dds");
    EXPECT_EQ(context->Calls(), (std::vector<std::string>{"Release({2, " + std::to_string(*one) + "})"}));
    EXPECT_FALSE(system.GetTexture("one.dds"));
    system.UnloadTexture("one.dds");
    system.UnloadTextures();
    EXPECT_FALSE(system.GetTexture("two.dds"));
    EXPECT_EQ(context->Count("Release"), 2u);
}

TEST_F(RenderSystemCacheTest, FiveLoaderThreadsUnderProtectionWhileTheMainThreadLooksUp)
{
    ASSERT_TRUE(system.Initialize());
    const int kEach = 20;
    for (int i = 0; i < kEach; ++i) {
        Copy("models/cube.model", "m/model" + std::to_string(i) + ".model");
        Copy("animations/idle_base.anim", "a/clip" + std::to_string(i) + ".anim");
        Copy("fonts/font_32.bff", "f/font" + std::to_string(i) + ".bff");
        folder.Write("mat" + std::to_string(i) + ".mat", "[SPECULAR]\nSHININESS=7\n");
    }
    system.ProtectResourceAcquisitions(true);
    std::atomic<int> failures{0};
    const auto run = [&](auto load) {
        return std::thread([&, load] {
            for (int i = 0; i < kEach; ++i)
                if (!load(i))
                    ++failures;
        });
    };
    const std::string base = folder.Path().string() + "/";
    std::thread threads[] = {
        run([&](int i) { return system.LoadTexture(base + "t/tex" + std::to_string(i) + ".dds"); }),
        run([&](int i) { return system.LoadModel(base + "m/model" + std::to_string(i) + ".model"); }),
        run([&](int i) { return system.LoadAnimation(base + "a/clip" + std::to_string(i) + ".anim"); }),
        run([&](int i) { return system.LoadMaterial(base + "mat" + std::to_string(i) + ".mat"); }),
        run([&](int i) { return system.LoadFont(base + "f/font" + std::to_string(i) + ".bff"); }),
    };
    // The main thread keeps drawing meanwhile: look-ups and a present each round.
    for (int round = 0; round < 200; ++round) {
        const std::string i = std::to_string(round % kEach);
        static_cast<void>(system.GetTexture("tex" + i + ".dds"));
        static_cast<void>(system.GetModel("model" + i + ".model"));
        static_cast<void>(system.GetAnimation("clip" + i + ".anim"));
        static_cast<void>(system.GetFont("font" + i + ".bff"));
        for (ZOR::Material* material : system.GetMaterialSnapshot())
            material->ForceDirty();
        static_cast<void>(system.GetMaterial("mat" + i + ".mat"));
        context->SwapBuffers();
    }
    for (std::thread& thread : threads)
        thread.join();
    system.ProtectResourceAcquisitions(false);
    system.ForceUpdateMaterials();
    EXPECT_EQ(failures.load(), 0);
    for (int i = 0; i < kEach; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_TRUE(system.GetTexture("tex" + n + ".dds"));
        ASSERT_NE(system.GetModel("model" + n + ".model"), nullptr);
        EXPECT_TRUE(system.GetModel("model" + n + ".model")->GetVertexBuffer(false));
        EXPECT_NE(system.GetAnimation("clip" + n + ".anim"), nullptr);
        EXPECT_NE(system.GetFont("font" + n + ".bff"), nullptr);
        EXPECT_FLOAT_EQ(system.GetMaterial("mat" + n + ".mat")->GetSpecularShininess(), 7.0f);
    }
}

} // namespace
