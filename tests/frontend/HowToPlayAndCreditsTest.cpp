// The how-to-play screen and the credits on the flow harness, started in the menu level: what
// leaves them and when, the controls board following the pads, and the credits' scroll, fades
// and closing by themselves.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Space.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/CreditsMenu.h"
#include "frontend/screens/HowToPlayMenu.h"
#include "frontend/screens/MainMenu.h"
#include "platform/ScriptedInputSource.h"
#include "renderer/Camera.h"
#include "renderer/Renderable2D.h"
#include "tests/frontend/MenuLevelFixture.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using tarsel::test::FlowGame;

constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kPadA = 10;
constexpr int kPadB = 11;

class ScreenTest : public ::testing::Test {
protected:
    void Launch(const std::function<quellor::Action*()>& screen, float dt = 1.0f / 60.0f,
                std::vector<std::string> removed = {})
    {
        tarsel::test::FlowSetup setup = tarsel::test::MenuLevelSetup(screen, std::move(removed));
        setup.dt = dt;
        game.emplace(std::move(setup));
        ASSERT_TRUE(game->Start());
        ASSERT_TRUE(game->RunUntil([&] { return !game->RunningScreens().empty(); }, 600));
    }
    void Tap(int key)
    {
        game->Input().TapKey(key);
        game->RunFrames(2);
    }
    void PadTap(int pad, int button)
    {
        game->Input().SetPadButton(pad, button, true);
        game->RunFrames(1);
        game->Input().SetPadButton(pad, button, false);
        game->RunFrames(1);
    }
    ZOR::float3 CameraPosition() { return game->GetGame().GetGraphicsSystem()->GetActiveCamera(-1).GetPosition(); }
    bool Running() { return !game->RunningScreens().empty(); }

    std::optional<FlowGame> game;
};

using HowToPlayTest = ScreenTest;

TEST_F(HowToPlayTest, OnlyPadBLeavesDuringTheGlideAndTheGlideEndsWithTheScreen)
{
    Launch([] { return new quellor::HowToPlayMenu(true); });
    Tap(kEscape);
    Tap(kEnter);
    PadTap(0, kPadA);
    EXPECT_TRUE(Running());
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), 0);

    game->Input().SetPadButton(2, kPadB, true);
    game->RunFrames(1);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"MainMenu"});
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), 1);
    // The unfinished glide ended with the screen; the main menu's own glide brings the camera
    // back over 1.5 s and holds it there.
    game->RunFrames(100);
    const ZOR::float3 camera = CameraPosition();
    EXPECT_NEAR(camera.x, quellor::MainMenu::kCameraPosition.x, 1e-3f);
    EXPECT_NEAR(camera.y, quellor::MainMenu::kCameraPosition.y, 1e-3f);
    EXPECT_NEAR(camera.z, quellor::MainMenu::kCameraPosition.z, 1e-3f);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"MainMenu"});
}

TEST_F(HowToPlayTest, TheBoardFollowsThePadsAndEnterLeavesOnceReady)
{
    Launch([] { return new quellor::HowToPlayMenu(false); });
    EXPECT_EQ(game->FindMaterial("dojo"), "dojo_keyboard_menu.mat");
    game->Input().SetPadConnected(1, true);
    game->RunFrames(1);
    EXPECT_EQ(game->FindMaterial("dojo"), "dojo_xbox_menu.mat");
    game->Input().SetPadConnected(1, false);
    game->RunFrames(1);
    EXPECT_EQ(game->FindMaterial("dojo"), "dojo_keyboard_menu.mat");

    game->RunFrames(60);
    EXPECT_NEAR(CameraPosition().x, -74.29f, 1e-3f);
    Tap(kEnter);
    EXPECT_FALSE(Running());
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), 1);
}

TEST_F(HowToPlayTest, WithoutTheBoardTheScreenStillLeaves)
{
    Launch([] { return new quellor::HowToPlayMenu(false); }, 1.0f / 60.0f, {"dojo"});
    game->Input().SetPadConnected(0, true);
    game->RunFrames(61);
    Tap(kEscape);
    EXPECT_FALSE(Running());
}

using CreditsTest = ScreenTest;

// The credit page with that material, if it is still there.
quellor::Entity* Page(const std::string& material)
{
    quellor::Space* space = quellor::Engine::Instance()->GetSpace("default");
    for (const auto& [name, entity] : space->GetEntityMap()) {
        auto* sprite = entity->GetComponent<quellor::GraphicsComponent2D>();
        if (sprite && sprite->m_materialName == material && !entity->IsDestroyed())
            return entity;
    }
    return nullptr;
}

TEST_F(CreditsTest, PadBLeavesAtOnceAndTwoPadsCloseOnce)
{
    Launch([] { return new quellor::CreditsMenu(false); });
    ASSERT_NE(Page("credits_bg.mat"), nullptr);
    ASSERT_NE(Page("credits_8.mat"), nullptr);
    const float height = game->GetGame().GetGraphicsSystem()->GetOrthographicProjectionSize(-1).y;
    const auto* second = Page("credits_2.mat")->GetComponent<quellor::Transform2D>();
    const auto* first = Page("credits_1.mat")->GetComponent<quellor::Transform2D>();
    EXPECT_FLOAT_EQ(second->m_x - first->m_x, height * 2048.0f / 1080.0f);
    EXPECT_FLOAT_EQ(first->m_scaleY, height);

    // Escape and Enter in the first second do nothing.
    Tap(kEscape);
    Tap(kEnter);
    EXPECT_TRUE(Running());
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), 0);

    game->Input().SetPadButton(1, kPadB, true);
    game->Input().SetPadButton(3, kPadB, true);
    game->RunFrames(1);
    EXPECT_FALSE(Running());
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), 1);
    game->RunFrames(1);
    EXPECT_EQ(Page("credits_bg.mat"), nullptr);
    EXPECT_EQ(Page("credits_1.mat"), nullptr);
    // Its fade-in was cancelled with it: nothing writes into the deleted screen.
    game->RunFrames(90);
}

TEST_F(CreditsTest, ThePagesDrawOverTheirBackground)
{
    Launch([] { return new quellor::CreditsMenu(false); });
    auto* background = Page("credits_bg.mat")->GetComponent<quellor::GraphicsComponent2D>();
    for (int k = 1; k <= 8; ++k) {
        const std::string material = "credits_" + std::to_string(k) + ".mat";
        auto* page = Page(material)->GetComponent<quellor::GraphicsComponent2D>();
        // The renderer's own sprite order, whatever numbers the materials were given.
        EXPECT_TRUE(ZOR::Renderable2DSortLess(background, page)) << material;
        EXPECT_FALSE(ZOR::Renderable2DSortLess(page, background)) << material;
    }
}

TEST_F(CreditsTest, WithoutInputThePagesScrollAndTheScreenClosesByItself)
{
    quellor::CreditsMenu* screen = nullptr;
    Launch([&] { return screen = new quellor::CreditsMenu(true); }, 0.25f);
    // The start frame already scrolled once.
    const auto* page = Page("credits_1.mat")->GetComponent<quellor::Transform2D>();
    EXPECT_FLOAT_EQ(page->m_x, -25.0f);
    game->RunFrames(4);
    EXPECT_FLOAT_EQ(*game->FindAlpha2D(Page("credits_1.mat")->GetName()), 1.0f);
    EXPECT_TRUE(screen->IsReady());
    game->RunFrames(395);
    EXPECT_FLOAT_EQ(page->m_x, -10000.0f); // 100 s

    // The fade-out starts 108 s after the start (the 1 s fade-in, then the 107 s wait).
    int frames = 400;
    while (screen->IsActive() && frames < 440) {
        game->RunFrames(1);
        ++frames;
    }
    ASSERT_FALSE(screen->IsActive());
    EXPECT_GE(frames, 432);
    EXPECT_LE(frames, 434);
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), 1);
    // Then the fade-out's four updates (1 s, from the frame it starts in) and three frames.
    int closing = 0;
    while (tarsel::test::FindScreen(*game, "CreditsMenu") && closing < 20) {
        game->RunFrames(1);
        ++closing;
    }
    EXPECT_EQ(closing, 6);
    // Into the main menu, in the next frame.
    game->RunFrames(1);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"MainMenu"});
    game->RunFrames(1);
    EXPECT_EQ(Page("credits_1.mat"), nullptr);
}

TEST_F(CreditsTest, EscapeJustBeforeTheAutoCloseClosesOnce)
{
    Launch([] { return new quellor::CreditsMenu(false); }, 0.25f);
    game->RunFrames(429); // 107.5 s
    ASSERT_TRUE(Running());
    game->Input().TapKey(kEscape);
    game->RunFrames(2); // the screen applies the fading alpha in the frame after
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), 1);
    EXPECT_LT(*game->FindAlpha2D(Page("credits_bg.mat")->GetName()), 1.0f);
    // The fade-in sequence ends at 108 s, before the close that would cancel it.
    game->RunFrames(11);
    EXPECT_FALSE(Running());
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), 1);
    EXPECT_EQ(Page("credits_bg.mat"), nullptr);
}

} // namespace
