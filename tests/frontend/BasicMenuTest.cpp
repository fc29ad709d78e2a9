// The title menu on the flow harness, started by a level's ActionComponent by name: up and
// down toggle (once for both in one frame), only pad 0 is read, Play clears what "default"
// held and loads "alpha.ql", whose entities stay, and Quit ends the loop cleanly.
#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/LoadAssets.h"
#include "engine/ObjectSystem.h"
#include "engine/Space.h"
#include "engine/graphics/TextComponent.h"
#include "frontend/screens/BasicMenu.h"
#include "platform/ScriptedInputSource.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/flow/FlowGame.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using tarsel::test::FlowGame;
using tarsel::test::FlowSetup;

namespace {

constexpr int kUp = 38;
constexpr int kDown = 40;
constexpr int kEnter = 13;
constexpr int kPadDown = 1;

class BasicMenuTest : public ::testing::Test {
protected:
    // Loads, then the level that starts the menu by name; runs until the menu runs.
    void Launch(bool withAlpha = true)
    {
        FlowSetup setup;
        if (withAlpha)
            setup.fixtureFolders = {TARSEL_FRONTEND_FIXTURES};
        else
            setup.writeFixtures = [](const std::filesystem::path& folder) {
                std::filesystem::create_directories(folder / "levels");
                std::filesystem::copy_file(std::filesystem::path(TARSEL_FRONTEND_FIXTURES) / "levels/TitleMenuTest.ql",
                                           folder / "levels/TitleMenuTest.ql");
            };
        setup.startupTree = [](tarsel::Game&) { return new quellor::LoadAssets; };
        game.emplace(std::move(setup));
        ASSERT_TRUE(game->Start());
        ASSERT_TRUE(game->RunUntil([&] { return game->GetGame().GetActionSystem()->GetRootList().GetCount() == 0; }, 600));
        quellor::Engine::Instance()->GetSystem<quellor::ObjectSystem>("default")->LoadLevel("TitleMenuTest.ql");
        ASSERT_TRUE(game->RunUntil([&] { return Menu() != nullptr && Menu()->IsStarted(); }, 3));
    }

    // The menu in the level entity's own list.
    const quellor::BasicMenu* Menu()
    {
        quellor::Entity* holder = game->FindEntity("title_menu");
        auto* component = holder ? holder->GetComponent<quellor::ActionComponent>() : nullptr;
        const quellor::BasicMenu* menu = nullptr;
        if (component)
            component->GetActionList().VisitActions([&](const quellor::Action& action) {
                if (!menu)
                    menu = dynamic_cast<const quellor::BasicMenu*>(&action);
            });
        return menu;
    }

    // The colour of a line, as r, g.
    std::pair<float, float> Colour(const std::string& line)
    {
        auto* text = game->FindEntity(line)->GetComponent<quellor::TextComponent>();
        return {text->m_color.x, text->m_color.y};
    }
    bool PlaySelected() { return Colour("play").first == 1.0f && Colour("quit").first == 0.0f; }
    bool QuitSelected() { return Colour("quit").first == 1.0f && Colour("play").first == 0.0f; }

    std::optional<FlowGame> game;
};

TEST_F(BasicMenuTest, UpAndDownToggleOnceAPressAndOnlyPadZeroCounts)
{
    Launch();
    ASSERT_NE(game->FindEntity("bg"), nullptr);
    EXPECT_EQ(game->FindMaterial("bg"), "bg.mat");
    auto* play = game->FindEntity("play")->GetComponent<quellor::TextComponent>();
    EXPECT_EQ(play->GetFontTexture(), "font_64.dds");
    EXPECT_EQ(play->m_fontName, "font_64.bff");
    EXPECT_EQ(play->GetScreenID(), 0);
    EXPECT_TRUE(Menu()->IsPlaySelected());
    EXPECT_TRUE(PlaySelected());
    EXPECT_EQ(Colour("quit").second, 0.0f);

    game->Input().SetKey(kUp, true);
    game->Input().SetKey(kDown, true);
    game->RunFrames(1);
    EXPECT_TRUE(QuitSelected());
    game->RunFrames(1); // held: nothing more
    EXPECT_TRUE(QuitSelected());
    game->Input().SetKey(kUp, false);
    game->Input().SetKey(kDown, false);

    game->Input().SetPadButton(1, kPadDown, true);
    game->RunFrames(1);
    EXPECT_TRUE(QuitSelected());
    game->Input().SetPadButton(0, kPadDown, true);
    game->RunFrames(1);
    EXPECT_TRUE(PlaySelected());
}

TEST_F(BasicMenuTest, PlayClearsWhatDefaultHeldAndTheLoadedLevelStays)
{
    Launch();
    std::vector<quellor::EntityRef> before;
    for (const auto& [name, entity] : quellor::Engine::Instance()->GetSpace("default")->GetEntityMap())
        before.emplace_back(entity);
    ASSERT_GE(before.size(), 5u); // the level's two, the background and the two lines
    game->Input().TapKey(kEnter);
    ASSERT_TRUE(game->Frame());
    for (const quellor::EntityRef& entity : before)
        EXPECT_EQ(entity.Get(), nullptr);
    EXPECT_NE(game->FindEntity("alpha_ground"), nullptr);
    EXPECT_NE(game->FindEntity("alpha_marker"), nullptr);
    EXPECT_EQ(game->FindEntity("title_menu"), nullptr);
    game->RunFrames(2);
    EXPECT_NE(game->FindEntity("alpha_marker"), nullptr);
}

TEST_F(BasicMenuTest, WithoutTheLevelPlayWarnsOnceAndClearsTheMenu)
{
    tarsel::test::StdoutCapture capture;
    Launch(false);
    game->Input().TapKey(kEnter);
    ASSERT_TRUE(game->Frame());
    ASSERT_TRUE(game->Frame());
    const std::string text = capture.Text();
    const auto warning = text.find("\"alpha.ql\"");
    EXPECT_NE(warning, std::string::npos) << text;
    EXPECT_EQ(text.find("\"alpha.ql\"", warning + 1), std::string::npos) << text;
    EXPECT_EQ(game->FindEntity("play"), nullptr);
    EXPECT_EQ(game->FindEntity("title_prop"), nullptr);
}

TEST_F(BasicMenuTest, QuitEndsTheLoopAfterThatFrameAndTheGameShutsDownNormally)
{
    Launch();
    game->Input().TapKey(kDown);
    game->RunFrames(1);
    ASSERT_TRUE(QuitSelected());
    game->Input().TapKey(kEnter);
    EXPECT_TRUE(game->Frame());
    EXPECT_FALSE(game->Frame());
    game.reset();
}

} // namespace
