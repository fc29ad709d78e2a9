// The loading screen over a temporary content folder: which files are queued, that every file
// is counted (broken ones logged), the progress text, the frame it finishes in, and a screen
// destroyed while its threads still load.
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/LoadAssets.h"
#include "engine/ResourceSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Space.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/TextComponent.h"
#include "renderer/RenderSystem.h"
#include "tests/support/RecordingRenderContext.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"
#include "tests/support/WorkingDirectory.h"
#include "tools/writers/FontWriter.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/MeshBuilder.h"
#include "tools/writers/ModelWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <memory>
#include <optional>

using namespace quellor;
using tarsel::test::TempDir;

namespace {

// The engine's view of the renderer: a system that is also a render system, kept under the
// graphics system's key.
class RenderBridge : public System, public ZOR::RenderSystem {
public:
    RenderBridge(std::shared_ptr<ZOR::RenderContext> context, platform::NativeWindow* const& window)
        : ZOR::RenderSystem(std::move(context), window)
    {
    }
};

class LoadAssetsTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Sounds are decoded only when a device opens; the dummy driver gives one on a machine
        // without a sound card as well, even when the test is run by hand.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        tarsel::tools::Image image;
        image.width = image.height = 4;
        image.rgba.assign(64, 200);
        const std::string dds = tarsel::tools::WriteDds(image, tarsel::tools::DdsFormat::BGRA8);
        const std::string model = tarsel::tools::WriteModel(tarsel::tools::BuildCube());
        folder.Write("textures/a.dds", dds);
        folder.Write("textures/b.dds", dds);
        folder.Write("textures/bad.dds", "DDS not really");
        folder.Write("textures/c.png", tarsel::tools::WritePng(image));
        folder.Write("materials/m.mat", "[DIFFUSE_COLOR]\nR=1\n");
        folder.Write("models/cube.model", model);
        folder.Write("models/cut.model", model.substr(0, model.size() / 3));
        folder.Write("sounds/beep.wav", tarsel::test::MakeWav(400));
        folder.Write("sounds/empty.wav", "");
        cwd.emplace(folder.Path());
    }

    void TearDown() override
    {
        Engine::DestroyInstance();
        cwd.reset();
    }

    // The engine with resources, actions, sound and the renderer, and the screen pushed. With
    // `graphics`, the renderer is the engine's graphics system, with which texts register.
    LoadAssets* Begin(bool graphics = false)
    {
        engine = Engine::Instance();
        engine->AddSystem("ResourceSystem", new ResourceSystem, "default");
        actions = static_cast<ActionSystem*>(engine->AddSystem("ActionSystem", new ActionSystem, "default"));
        sound = static_cast<SoundSystem*>(engine->AddSystem(
            "SoundSystem", new SoundSystem, "default"));
        context = std::make_shared<tarsel::test::RecordingRenderContext>();
        context->SetDisplayModes({ZOR::DisplayMode({1280, 720}, 60)});
        if (graphics) {
            auto* system = new GraphicsSystem(context, window);
            render = system;
            engine->AddSystem("GraphicsSystem", system, "default");
        } else {
            auto* bridge = new RenderBridge(context, window);
            render = bridge;
            engine->AddSystem("GraphicsSystem", bridge, "default");
        }
        auto* screen = new LoadAssets;
        actions->AddAction(screen, 0);
        return screen;
    }

    TempDir folder;
    std::optional<tarsel::test::WorkingDirectory> cwd;
    platform::NativeWindow* window = nullptr;
    Engine* engine = nullptr;
    ActionSystem* actions = nullptr;
    SoundSystem* sound = nullptr;
    std::shared_ptr<tarsel::test::RecordingRenderContext> context;
    ZOR::RenderSystem* render = nullptr;
};

} // namespace

TEST(LoadAssetsText, PercentIsRoundedHalfUpAndTruncated)
{
    EXPECT_EQ(LoadAssets::ProgressText(3, 8), "Loading: 38");
    EXPECT_EQ(LoadAssets::ProgressText(1, 3), "Loading: 33");
    EXPECT_EQ(LoadAssets::ProgressText(0, 5), "Loading: 0");
    EXPECT_EQ(LoadAssets::ProgressText(2, 3), "Loading: 67");
    EXPECT_EQ(LoadAssets::KindOf("wav"), LoadAssets::Sounds);
    EXPECT_EQ(LoadAssets::KindOf("png"), LoadAssets::KindCount);
    EXPECT_EQ(LoadAssets::KindOf("DDS"), LoadAssets::KindCount);
}

TEST_F(LoadAssetsTest, QueuesByKindCountsEveryFileAndFinishesInTheFrameOfTheLastCount)
{
    tarsel::test::StdoutCapture out;
    LoadAssets* screen = Begin();
    engine->Update(0.016f);
    // Started and updated in the first frame.
    EXPECT_EQ(screen->GetQueue(LoadAssets::Sounds).count("beep.wav"), 1u);
    EXPECT_EQ(screen->GetQueue(LoadAssets::Textures).count("c.png"), 0u);
    EXPECT_EQ(screen->GetQueue(LoadAssets::Textures).size(), 3u);
    EXPECT_EQ(screen->GetQueue(LoadAssets::Models).size(), 2u);
    EXPECT_EQ(screen->GetTotal(), 8u);
    EXPECT_TRUE(render->IsProtectingResourceAcquisitions());
    ASSERT_NE(engine->GetEntity("loading_text", "default"), nullptr);

    // Frames go on until the screen has seen every file counted; that frame removes the text.
    bool finished = false;
    int frames = 1;
    while (!finished && frames < 100000) {
        const bool allCounted = screen->GetLoaded() == screen->GetTotal();
        engine->Update(0.016f);
        ++frames;
        finished = actions->GetRootList().GetCount() == 0;
        if (allCounted) {
            ASSERT_TRUE(finished) << "the update after the last count must finish";
        }
    }
    ASSERT_TRUE(finished);
    EXPECT_EQ(engine->GetEntity("loading_text", "default"), nullptr);
    EXPECT_FALSE(render->IsProtectingResourceAcquisitions());
    EXPECT_NE(render->GetModel("cube.model"), nullptr);
    EXPECT_EQ(render->GetModel("cut.model"), nullptr);
    const std::string text = out.Text();
    EXPECT_NE(text.find("empty.wav"), std::string::npos) << text;
    EXPECT_NE(text.find("cut.model"), std::string::npos) << text;
}

TEST_F(LoadAssetsTest, LoadsItsThreeFontsAtOnceAndWritesWithTheLargestTenPixelsIn)
{
    tarsel::tools::BitmapFont font;
    font.imageWidth = font.imageHeight = font.cellWidth = font.cellHeight = 16;
    font.pixels.assign(16 * 16 * 4, 255);
    for (const char* size : {"32", "48", "64"})
        folder.Write(std::string("fonts/font_") + size + ".bff", tarsel::tools::WriteBff(font));
    Begin(true);
    context->ClearCalls();
    engine->Update(0.016f);
    for (const char* size : {"32", "48", "64"})
        EXPECT_NE(render->GetFont(std::string("font_") + size + ".bff"), nullptr) << size;
    // The font textures come first, in this order, before any loader thread's texture.
    std::vector<std::string> textures;
    for (const std::string& call : context->Calls())
        if (call.rfind("CreateTexture(", 0) == 0)
            textures.push_back(call);
    ASSERT_GE(textures.size(), 3u);
    EXPECT_NE(textures[0].find("\"textures/fonts/font_32.dds\""), std::string::npos) << textures[0];
    EXPECT_NE(textures[1].find("\"textures/fonts/font_48.dds\""), std::string::npos) << textures[1];
    EXPECT_NE(textures[2].find("\"textures/fonts/font_64.dds\""), std::string::npos) << textures[2];

    Entity* text = engine->GetEntity("loading_text", "default");
    ASSERT_NE(text, nullptr);
    auto* component = text->GetComponent<TextComponent>();
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(component->GetFont(), render->GetFont("font_64.bff"));
    EXPECT_EQ(component->GetFontTexture(), "font_64.dds");
    auto* place = text->GetComponent<Transform2D>();
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->m_x, 10.0f);
    EXPECT_EQ(place->m_y, 0.0f);
}

TEST_F(LoadAssetsTest, NoFilesFinishesInTheFirstUpdate)
{
    std::filesystem::remove_all(folder.Path() / "textures");
    std::filesystem::remove_all(folder.Path() / "materials");
    std::filesystem::remove_all(folder.Path() / "models");
    std::filesystem::remove_all(folder.Path() / "sounds");
    Begin();
    engine->Update(0.016f);
    EXPECT_EQ(actions->GetRootList().GetCount(), 0);
    EXPECT_EQ(engine->GetEntity("loading_text", "default"), nullptr);
    EXPECT_FALSE(render->IsProtectingResourceAcquisitions());
}

TEST_F(LoadAssetsTest, DestroyingTheScreenMidLoadJoinsItsThreadsAndDropsProtection)
{
    for (int i = 0; i < 200; ++i)
        folder.Write("models/copy" + std::to_string(i) + ".model", tarsel::tools::WriteModel(tarsel::tools::BuildCube()));
    LoadAssets* screen = Begin();
    engine->Update(0.016f);
    // Joined only by the update that sees every file counted, so still running (or done but
    // not joined) here.
    EXPECT_TRUE(screen->ThreadsRunning());
    EXPECT_TRUE(render->IsProtectingResourceAcquisitions());
    // The list cancels and deletes the screen while its threads are still at work.
    actions->GetRootList().Cancel();
    engine->Update(0.016f);
    EXPECT_FALSE(render->IsProtectingResourceAcquisitions());
}
