// The two graphics option screens on the flow harness, started in the menu level: effect and
// full-screen switches with their check marks and config.ini, the walk that acts on every
// press but stops at an animation or a hand-over, the qualities and the resolution with their
// labels and read-out, and the labels kept for the next visit.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/GraphicsOptionsMenu.h"
#include "frontend/screens/MoreGraphicsOptionsMenu.h"
#include "frontend/screens/OptionsMenu.h"
#include "platform/ScriptedInputSource.h"
#include "tests/frontend/MenuLevelFixture.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using tarsel::test::ConfigValue;
using tarsel::test::FlowGame;
using tarsel::test::LiveEntitiesNamed;

constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kPadA = 10;
constexpr int kAfterGlide = 96;   // 1.6 s
constexpr int kAfterCheck = 16;   // a check mark's 0.25 s and a frame

std::string Model(const std::string& entity)
{
    quellor::Entity* found = quellor::Engine::Instance()->GetEntity(entity, "default");
    auto* model = found ? found->GetComponent<quellor::GraphicsComponent3D>() : nullptr;
    return model ? model->m_modelName : std::string();
}

// The lines of config.ini from the section's header to the next one.
std::string Section(const std::string& config, const std::string& name)
{
    const auto begin = config.find("[" + name + "]");
    if (begin == std::string::npos)
        return {};
    const auto end = config.find('[', begin + 1);
    return config.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

class GraphicsOptionsMenuTest : public ::testing::Test {
protected:
    template <typename Screen>
    void Launch(bool shadowsOn = false, std::vector<std::string> removed = {})
    {
        game.emplace(tarsel::test::MenuLevelSetup([] { return new Screen; }, std::move(removed)));
        // The first run's shadows (the harness seeds them off to keep frames cheap).
        if (shadowsOn)
            tarsel::test::SetSeededConfigValue(*game, "SHADOWS", "1");
        ASSERT_TRUE(game->Start());
        ASSERT_TRUE(game->RunUntil([&] { return !game->RunningScreens().empty(); }, 600));
    }
    void Tap(int key)
    {
        game->Input().TapKey(key);
        game->RunFrames(2);
    }
    quellor::GraphicsSystem& Graphics() { return *game->GetGame().GetGraphicsSystem(); }
    float ScaleY(const char* entity) { return game->FindTransform3D(entity)->m_scaleY; }
    std::string Selected()
    {
        for (unsigned entry = 0; entry < quellor::GraphicsOptionsMenu::kEntryCount; ++entry) {
            const char* name = quellor::GraphicsOptionsMenu::EntryName(entry);
            if (game->FindMaterial(name) == "arrow_menu_selected.mat")
                return name;
        }
        return {};
    }

    std::optional<FlowGame> game;
};

TEST_F(GraphicsOptionsMenuTest, SwitchesChangeTheRendererAndConfigAndWaitForTheirCheckMarks)
{
    // From the options screen: Down twice, Enter.
    Launch<quellor::OptionsMenu>(true);
    game->RunFrames(kAfterGlide);
    Tap(kDown);
    Tap(kDown);
    game->Input().TapKey(kEnter);
    game->RunFrames(1);
    ASSERT_EQ(game->RunningScreens(), std::vector<std::string>{"GraphicsOptionsMenu"});
    // Check marks of the switches that are off fold away; those that are on keep the level's.
    EXPECT_FLOAT_EQ(ScaleY("shadowCheck"), 0.4f);
    EXPECT_FLOAT_EQ(ScaleY("lightingCheck"), 0.4f);
    EXPECT_FLOAT_EQ(ScaleY("sunCheck"), 0.0f);
    EXPECT_FLOAT_EQ(ScaleY("SSAOCheck"), 0.0f);
    EXPECT_FLOAT_EQ(ScaleY("fogCheck"), 0.0f);
    EXPECT_EQ(Selected(), "lightingBox");
    Tap(kRight); // gliding: ignored
    EXPECT_EQ(Selected(), "lightingBox");
    game->RunFrames(kAfterGlide);

    Tap(kRight);
    EXPECT_EQ(Selected(), "sunBox");
    Tap(kDown);
    Tap(kDown);
    ASSERT_EQ(Selected(), "shadowBox");
    const int highlights = game->CountPlays("menu_highlight.ogg");
    Tap(kEnter);
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "SHADOWS"), "0");
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_FALSE(Graphics().ZOR::RenderSystem::EffectEnabled(ZOR::RenderSystem::Shadows, screen)) << screen;
    // Presses during the check mark's 0.25 s are ignored.
    Tap(kUp);
    EXPECT_EQ(Selected(), "shadowBox");
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), highlights);
    game->RunFrames(kAfterCheck);
    EXPECT_FLOAT_EQ(ScaleY("shadowCheck"), 0.0f);
    EXPECT_FLOAT_EQ(game->FindTransform3D("shadowCheck")->m_scaleX, 0.0f);

    // Full screen: the render context writes FULLSCREEN; nothing under EFFECTS changes.
    Tap(kUp);
    ASSERT_EQ(Selected(), "fogBox");
    const std::string effects = Section(game->ReadConfig(), "EFFECTS");
    Tap(kEnter);
    EXPECT_TRUE(Graphics().GetFullscreen());
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "FULLSCREEN"), "1");
    EXPECT_EQ(Section(game->ReadConfig(), "EFFECTS"), effects);
    game->RunFrames(kAfterCheck);
    EXPECT_FLOAT_EQ(ScaleY("fogCheck"), 0.4f);

    // Two pads activating "back1" in one frame: one options screen.
    Tap(kDown);
    Tap(kDown);
    Tap(kDown);
    ASSERT_EQ(Selected(), "back1");
    game->Input().SetPadButton(0, kPadA, true);
    game->Input().SetPadButton(1, kPadA, true);
    game->RunFrames(1);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"OptionsMenu"});
}

TEST_F(GraphicsOptionsMenuTest, EveryPressActsUntilAToggleStartsItsCheckMark)
{
    Launch<quellor::GraphicsOptionsMenu>();
    game->RunFrames(kAfterGlide);
    // Two moves in one frame: pad 0 and the keyboard.
    game->Input().SetPadButton(0, 1, true);
    game->Input().TapKey(kDown);
    game->RunFrames(1);
    game->Input().SetPadButton(0, 1, false);
    game->RunFrames(1);
    EXPECT_EQ(Selected(), "DOFBox");
    Tap(kRight); // "shadowBox"
    ASSERT_EQ(Selected(), "shadowBox");
    // Pad 0 A toggles; the keyboard's Down and Enter of the same frame are not read.
    game->Input().SetPadButton(0, kPadA, true);
    game->Input().TapKey(kDown);
    game->Input().TapKey(kEnter);
    game->RunFrames(1);
    game->Input().SetPadButton(0, kPadA, false);
    EXPECT_TRUE(Graphics().ZOR::RenderSystem::EffectEnabled(ZOR::RenderSystem::Shadows, -1));
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "SHADOWS"), "1");
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"GraphicsOptionsMenu"});
    game->RunFrames(kAfterCheck + 1);
    EXPECT_EQ(Selected(), "shadowBox");
    EXPECT_FLOAT_EQ(ScaleY("shadowCheck"), 0.4f);
    // Backspace and an activation of "moreGraphicsOptions" in one frame: Backspace wins.
    Tap(kDown);
    ASSERT_EQ(Selected(), "moreGraphicsOptions");
    game->Input().TapKey(kBackspace);
    game->Input().TapKey(kEnter);
    game->RunFrames(1);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"OptionsMenu"});
}

TEST_F(GraphicsOptionsMenuTest, QualitiesAndResolutionAreSavedAtOnceAndShownBesideTheirArrows)
{
    Launch<quellor::MoreGraphicsOptionsMenu>();
    EXPECT_EQ(Model("gfxName"), "setting_ultra.model");
    EXPECT_EQ(Model("parName"), "setting_ultra.model");
    EXPECT_EQ(LiveEntitiesNamed("letter").size(), 7u); // 800x450
    game->RunFrames(kAfterGlide);
    EXPECT_EQ(game->FindMaterial("gfxName"), "green.mat");

    Tap(kRight);
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "GRAPHICS"), "LOW");
    EXPECT_EQ(Model("gfxName"), "setting_low.model");
    EXPECT_EQ(Graphics().GetGraphicsQuality(), ZOR::RenderSystem::Low);
    Tap(kLeft);
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "GRAPHICS"), "ULTRA");
    Tap(kLeft);
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "GRAPHICS"), "HIGH");
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "PARTICLE"), "ULTRA");

    Tap(kDown);
    Tap(kDown);
    Tap(kRight);
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "WIDTH"), "800");
    EXPECT_EQ(ConfigValue(game->ReadConfig(), "HEIGHT"), "600");
    const auto digits = LiveEntitiesNamed("letter");
    std::vector<std::string> models;
    for (quellor::Entity* digit : digits)
        models.push_back(digit->GetComponent<quellor::GraphicsComponent3D>()->m_modelName);
    EXPECT_EQ(models, (std::vector<std::string>{"num_8.model", "num_0.model", "num_0.model", "letter_x.model",
                                                "num_6.model", "num_0.model", "num_0.model"}));
    EXPECT_EQ(game->FindMaterial(digits.front()->GetName()), "green.mat");
    EXPECT_EQ(game->FindMaterial("gfxName"), "black.mat");
    const float arrowX = game->FindTransform3D("arrowLRes")->m_x;
    EXPECT_FLOAT_EQ(digits.front()->GetComponent<quellor::Transform3D>()->m_x, arrowX + 4.0f);

    // Backspace: no sound; the digits go 0.75 s later, the labels stay.
    const int selects = game->CountPlays("menu_select.ogg");
    quellor::Entity* label = game->FindEntity("gfxName");
    Tap(kBackspace);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"GraphicsOptionsMenu"});
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), selects);
    game->RunFrames(40);
    EXPECT_EQ(LiveEntitiesNamed("letter").size(), 7u);
    game->RunFrames(8);
    EXPECT_TRUE(LiveEntitiesNamed("letter").empty());

    // A second visit reuses the labels.
    game->RunFrames(kAfterGlide);
    Tap(kRight);
    for (int i = 0; i < 3; ++i)
        Tap(kDown);
    Tap(kEnter);
    ASSERT_EQ(game->RunningScreens(), std::vector<std::string>{"MoreGraphicsOptionsMenu"});
    EXPECT_EQ(game->FindEntity("gfxName"), label);
    EXPECT_EQ(LiveEntitiesNamed("gfxName").size(), 1u);
    EXPECT_EQ(Model("gfxName"), "setting_high.model");
    EXPECT_EQ(LiveEntitiesNamed("letter").size(), 7u);
}

TEST_F(GraphicsOptionsMenuTest, WithoutSomeOfItsEntitiesTheBoardStillWorks)
{
    tarsel::test::StdoutCapture capture;
    Launch<quellor::GraphicsOptionsMenu>(false, {"fogCheck", "lightingBox", "back1"});
    game->RunFrames(kAfterGlide);
    Tap(kRight);
    Tap(kDown);
    ASSERT_EQ(Selected(), "fogBox");
    Tap(kEnter);
    EXPECT_TRUE(Graphics().GetFullscreen());
    game->RunFrames(2);
    Tap(kUp);
    EXPECT_EQ(Selected(), "sunBox");
    for (int i = 0; i < 4; ++i)
        Tap(kDown);
    EXPECT_EQ(Selected(), "");
    Tap(kEnter);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"OptionsMenu"});
    const std::string text = capture.Text();
    for (const char* name : {"fogCheck", "lightingBox", "back1"})
        EXPECT_NE(text.find(std::string("no entity \"") + name + "\"; GraphicsOptionsMenu"), std::string::npos) << name;
}

} // namespace
