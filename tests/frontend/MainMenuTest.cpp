// The main menu: its index table; and on the flow harness, after the loading screen, the entry
// from start-up, cursor moves and their glide, the quit board with the button's clips, quitting,
// items whose screens are stand-ins, a return from a sub-screen, and missing content.
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/LoadAssets.h"
#include "engine/Space.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/MainMenu.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "platform/ScriptedInputSource.h"
#include "renderer/Camera.h"
#include "tests/frontend/ScreenFixtures.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/flow/FlowGame.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

using quellor::MainMenu;
using quellor::Vec4;
using tarsel::test::FlowGame;
using tarsel::test::FlowSetup;

namespace {

bool Same(const Vec4& a, const Vec4& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

constexpr int kUp = 38;
constexpr int kDown = 40;
constexpr int kEnter = 13;
constexpr int kSongs = quellor::SoundSystem::SongTable;

TEST(MainMenuIndex, MovesStopAtTheEndsAndTheBoardSwapsItsTwoItems)
{
    EXPECT_EQ(MainMenu::NextIndex(MainMenu::Play, true), MainMenu::Play);
    EXPECT_EQ(MainMenu::NextIndex(MainMenu::Quit, false), MainMenu::Quit);
    for (unsigned item = MainMenu::Options; item <= MainMenu::Quit; ++item) {
        EXPECT_EQ(MainMenu::NextIndex(item, true), item - 1);
        EXPECT_EQ(MainMenu::NextIndex(item - 1, false), item);
    }
    for (bool up : {true, false}) {
        EXPECT_EQ(MainMenu::NextIndex(MainMenu::QuitBack, up), MainMenu::QuitConfirm);
        EXPECT_EQ(MainMenu::NextIndex(MainMenu::QuitConfirm, up), MainMenu::QuitBack);
    }
    // Each item has its own place; nothing past the last item.
    for (unsigned item = 0; item + 1 < MainMenu::ItemCount; ++item)
        EXPECT_FALSE(Same(MainMenu::CursorPosition(item), MainMenu::CursorPosition(item + 1))) << item;
    EXPECT_TRUE(Same(MainMenu::CursorPosition(MainMenu::ItemCount), MainMenu::CursorPosition(MainMenu::Play)));
    EXPECT_NEAR(MainMenu::CursorPosition(MainMenu::QuitConfirm).y, 30.0f, 1e-5f);
    // Only items 0 to 3 have screens.
    MainMenu::SetItemScreen(MainMenu::Quit, [] { return nullptr; });
    EXPECT_FALSE(MainMenu::GetItemScreen(MainMenu::Quit));
}

// A sub-screen that puts the camera elsewhere and, on Enter, returns to the menu.
class ReturnScreen : public quellor::MenuScreen {
public:
    ReturnScreen() : MenuScreen("ReturnScreen") {}

protected:
    void Start() override
    {
        JumpCamera(Vec4(70.0f, 100.0f, 60.0f, 1.0f), Vec4(0.0f, 0.0f, -1.0f, 0.0f));
        // Ready from the next frame, as after a glide: the press that opened it is not read again.
        RunThenReady({}, 3);
    }
    bool HandleInput(int pad, bool withKeyboard) override
    {
        if (!Pressed(quellor::MenuCommand::Activate, pad, withKeyboard))
            return false;
        HandOver(new MainMenu(false));
        return true;
    }
};

class MainMenuTest : public ::testing::Test {
protected:
    MainMenuTest()
    {
        for (unsigned item = 0; item < MainMenu::kScreenItems; ++item)
            rows[item] = MainMenu::GetItemScreen(item);
    }
    ~MainMenuTest() override
    {
        for (unsigned item = 0; item < MainMenu::kScreenItems; ++item)
            MainMenu::SetItemScreen(item, rows[item]);
    }

    // The loading screen, then MainMenu(true); run until the menu runs.
    // The rows of the item table as the build fills them, put back after each test.
    std::array<MainMenu::ItemScreen, MainMenu::kScreenItems> rows;

    void Open(bool withFixtures = true)
    {
        FlowSetup setup;
        if (withFixtures) {
            setup.fixtureFolders = {TARSEL_FRONTEND_FIXTURES};
            setup.writeFixtures = [](const std::filesystem::path& folder) {
                tarsel::test::WriteMenuSounds(folder);
                tarsel::test::WriteQuitButton(folder);
            };
        }
        setup.screen = [this] { return menu = new MainMenu(true); };
        game.emplace(std::move(setup));
        ASSERT_TRUE(game->Start());
        ASSERT_TRUE(game->RunUntil([&] { return Running(); }, 600));
    }
    // Then until it is ready.
    void Launch(bool withFixtures = true)
    {
        Open(withFixtures);
        ASSERT_TRUE(game->RunUntil([&] { return menu->IsReady(); }, 60));
    }

    bool Running() { return game->RunningScreens() == std::vector<std::string>{"MainMenu"}; }
    void Tap(int key)
    {
        game->Input().TapKey(key);
        ASSERT_TRUE(game->Frame());
    }
    // Taps the key, then runs until the menu is ready again.
    void Step(int key)
    {
        Tap(key);
        ASSERT_TRUE(game->RunUntil([&] { return menu->IsReady(); }, 30));
    }
    quellor::Transform3D* Cursor() { return menu->GetCursor()->GetComponent<quellor::Transform3D>(); }
    ZOR::AnimationController& Clips()
    {
        return menu->GetQuitButton()->GetComponent<quellor::GraphicsComponent3DSkinned>()->GetAnimationController();
    }
    std::size_t EntityCount() { return quellor::Engine::Instance()->GetSpace("default")->GetEntityMap().size(); }

    std::optional<FlowGame> game;
    MainMenu* menu = nullptr;
};

TEST_F(MainMenuTest, FromStartUpTheLevelLoadsTheCameraJumpsAndTheCursorGrowsAfterOneFrame)
{
    Open();
    // The menu's first frame: level, camera, cursor and button, nothing grown yet.
    EXPECT_NE(game->FindEntity("menu_board"), nullptr);
    EXPECT_NE(game->FindEntity("dojo"), nullptr);
    const ZOR::float3& eye = game->GetGame().GetGraphicsSystem()->GetActiveCamera(-1).GetPosition();
    EXPECT_NEAR(eye.x, MainMenu::kCameraPosition.x, 1e-4f);
    EXPECT_NEAR(eye.z, MainMenu::kCameraPosition.z, 1e-4f);
    quellor::Transform3D* cursor = Cursor();
    EXPECT_EQ(menu->GetCursor()->GetName(), "cursor");
    EXPECT_EQ(menu->GetQuitButton()->GetName(), "quit");
    EXPECT_FLOAT_EQ(cursor->m_scaleX, 0.0f);
    EXPECT_FLOAT_EQ(cursor->m_rotation.y, std::sin(1.57f));
    EXPECT_FLOAT_EQ(cursor->m_rotation.w, std::cos(1.57f));
    EXPECT_TRUE(Same(cursor->GetPosition(), MainMenu::CursorPosition(MainMenu::Play)));
    EXPECT_EQ(game->FindMaterial("cursor"), "arrow_menu.mat");
    EXPECT_EQ(game->FindMaterial("quit"), "wood_blocks_menu.mat");
    EXPECT_TRUE(Clips().IsPlaying(MainMenu::kHoldClip));
    EXPECT_FALSE(Clips().IsLooping());
    EXPECT_TRUE(game->GetGame().GetSoundSystem()->IsPlaying("theme_menu.ogg", kSongs));
    // One frame's wait, then 0.5 s of growth from the next frame on; ready at its end.
    EXPECT_FALSE(menu->IsReady());
    ASSERT_TRUE(game->Frame());
    EXPECT_GT(cursor->m_scaleX, 0.0f);
    EXPECT_LT(cursor->m_scaleX, 0.2f);
    int frames = 1;
    while (!menu->IsReady() && frames < 60) {
        ASSERT_TRUE(game->Frame());
        ++frames;
    }
    EXPECT_GE(frames, 29);
    EXPECT_LE(frames, 31);
    EXPECT_NEAR(cursor->m_scaleY, MainMenu::kCursorScale, 1e-4f);
}

TEST_F(MainMenuTest, MovesPlayTheHighlightClampAndIgnorePressesDuringTheGlide)
{
    Launch();
    Tap(kUp); // on play
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), 1);
    EXPECT_EQ(menu->GetIndex(), MainMenu::Play);
    EXPECT_TRUE(menu->IsReady());

    Tap(kDown);
    EXPECT_EQ(menu->GetIndex(), MainMenu::Options);
    EXPECT_FALSE(menu->IsReady());
    // A press during the 0.15 s glide is not read.
    game->RunFrames(2);
    Tap(kDown);
    EXPECT_EQ(menu->GetIndex(), MainMenu::Options);
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), 2);
    ASSERT_TRUE(game->RunUntil([&] { return menu->IsReady(); }, 12));
    const Vec4 options = MainMenu::CursorPosition(MainMenu::Options);
    EXPECT_NEAR(Cursor()->m_y, options.y, 1e-4f);
    EXPECT_NEAR(Cursor()->m_x, options.x, 1e-4f);

    // A key goes before a pad button of another command in the same frame.
    game->Input().SetPadButton(0, 0, true); // d-pad up
    Step(83);                                // 'S'
    EXPECT_EQ(menu->GetIndex(), MainMenu::HowToPlay);
    game->Input().SetPadButton(0, 0, false);
    // Down on quit stays.
    Step(kDown);
    Step(kDown);
    EXPECT_EQ(menu->GetIndex(), MainMenu::Quit);
    const int highlights = game->CountPlays("menu_highlight.ogg");
    Tap(kDown);
    EXPECT_EQ(menu->GetIndex(), MainMenu::Quit);
    EXPECT_TRUE(menu->IsReady());
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), highlights + 1);
}

TEST_F(MainMenuTest, TheQuitBoardFoldsOutAndUpAndItsQuitEndsTheLoopCleanly)
{
    Launch();
    for (int i = 0; i < 4; ++i)
        Step(kDown);
    Step(kEnter);
    EXPECT_EQ(menu->GetIndex(), MainMenu::QuitBack);
    EXPECT_TRUE(Clips().IsPlaying(MainMenu::kFoldOutClip));
    EXPECT_FLOAT_EQ(Clips().GetBlendFactor(MainMenu::kFoldOutClip), 1.0f);
    EXPECT_FLOAT_EQ(Clips().GetBlendFactor(MainMenu::kHoldClip), 0.0f);
    EXPECT_FLOAT_EQ(Clips().GetBlendFactor(MainMenu::kFoldUpClip), 0.0f);
    EXPECT_NEAR(Cursor()->m_y, MainMenu::CursorPosition(MainMenu::QuitBack).y, 1e-4f);

    Step(kUp);
    EXPECT_EQ(menu->GetIndex(), MainMenu::QuitConfirm);
    Step(kUp);
    EXPECT_EQ(menu->GetIndex(), MainMenu::QuitBack);
    Step(kDown);
    Step(kDown);
    EXPECT_EQ(menu->GetIndex(), MainMenu::QuitBack);

    // Back folds the button up and returns to quit.
    Step(kEnter);
    EXPECT_EQ(menu->GetIndex(), MainMenu::Quit);
    EXPECT_TRUE(Clips().IsPlaying(MainMenu::kFoldUpClip));
    EXPECT_FLOAT_EQ(Clips().GetBlendFactor(MainMenu::kFoldOutClip), 0.0f);
    EXPECT_FLOAT_EQ(Clips().GetBlendFactor(MainMenu::kFoldUpClip), 1.0f);

    Step(kEnter);
    Step(kDown);
    EXPECT_EQ(menu->GetIndex(), MainMenu::QuitConfirm);
    const int selects = game->CountPlays("menu_select.ogg");
    Tap(kEnter); // that frame runs to its end
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), selects + 1);
    EXPECT_FALSE(game->Frame());
    game.reset(); // the normal teardown, under ASan
}

TEST_F(MainMenuTest, AnItemWithoutItsScreenPlaysTheSelectCueAndTheMenuStays)
{
    MainMenu::SetItemScreen(MainMenu::Play, {});
    Launch();
    Tap(kEnter);
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), 1);
    EXPECT_TRUE(Running());
    EXPECT_TRUE(menu->IsReady());
}

TEST_F(MainMenuTest, ASubScreenReturnsWithoutReloadingAndTheCameraGlidesBeforeTheCursorGrows)
{
    MainMenu::SetItemScreen(MainMenu::Options, [] { return new ReturnScreen; });
    Launch();
    const std::size_t entities = EntityCount();
    const int themes = game->CountPlays("theme_menu.ogg");
    const quellor::EntityRef oldCursor(menu->GetCursor());
    const quellor::EntityRef oldQuit(menu->GetQuitButton());
    Step(kDown);
    Tap(kEnter);
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"ReturnScreen"});
    game->RunFrames(1);
    // The old cursor and button went with the menu.
    EXPECT_EQ(game->FindEntity("cursor"), nullptr);
    EXPECT_EQ(game->FindEntity("quit"), nullptr);

    quellor::MenuScreen* returned = nullptr;
    Tap(kEnter);
    ASSERT_TRUE(Running());
    game->GetGame().GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
        if (const auto* found = dynamic_cast<const MainMenu*>(&action))
            returned = const_cast<MainMenu*>(found);
    });
    ASSERT_NE(returned, nullptr);
    menu = static_cast<MainMenu*>(returned);
    EXPECT_FALSE(menu->LoadsLevel());
    // A new cursor and button; the level's entities once.
    EXPECT_EQ(oldCursor.Get(), nullptr);
    EXPECT_EQ(oldQuit.Get(), nullptr);
    EXPECT_EQ(menu->GetCursor()->GetName().rfind("cursor", 0), 0u);
    EXPECT_EQ(menu->GetQuitButton()->GetName().rfind("quit", 0), 0u);
    EXPECT_EQ(EntityCount(), entities);
    EXPECT_EQ(game->CountPlays("theme_menu.ogg"), themes);

    // The camera glides back over 1.5 s from where the sub-screen put it; the cursor waits.
    const ZOR::Camera& camera = game->GetGame().GetGraphicsSystem()->GetActiveCamera(-1);
    game->RunFrames(45);
    EXPECT_NEAR(camera.GetPosition().x, 0.5f * (70.0f + MainMenu::kCameraPosition.x), 0.2f);
    EXPECT_FLOAT_EQ(Cursor()->m_scaleX, 0.0f);
    game->RunFrames(46);
    EXPECT_NEAR(camera.GetPosition().z, MainMenu::kCameraPosition.z, 1e-3f);
    EXPECT_FALSE(menu->IsReady());
    ASSERT_TRUE(game->RunUntil([&] { return menu->IsReady(); }, 32));
    EXPECT_NEAR(Cursor()->m_scaleX, MainMenu::kCursorScale, 1e-4f);
    EXPECT_EQ(menu->GetIndex(), MainMenu::Play);
}

TEST_F(MainMenuTest, WithoutItsLevelAndClipsTheMenuWarnsOnceEachAndStillWorks)
{
    tarsel::test::StdoutCapture capture;
    Launch(false);
    const std::string text = capture.Text();
    EXPECT_NE(text.find("\"MainMenuTest.ql\""), std::string::npos) << text;
    for (const char* clip : {MainMenu::kHoldClip, MainMenu::kFoldUpClip, MainMenu::kFoldOutClip,
                             MainMenu::kAreYouSureClip}) {
        const std::string warning = std::string("Warning: no animation \"") + clip + "\"";
        const auto first = text.find(warning);
        EXPECT_NE(first, std::string::npos) << clip;
        EXPECT_EQ(text.find(warning, first + 1), std::string::npos) << clip;
    }
    ASSERT_NE(menu->GetCursor(), nullptr);
    ASSERT_NE(menu->GetQuitButton(), nullptr);
    for (int i = 0; i < 4; ++i)
        Step(kDown);
    Step(kEnter); // the fold-out has no clip: nothing plays, the cursor still moves
    EXPECT_EQ(menu->GetIndex(), MainMenu::QuitBack);
    EXPECT_FALSE(Clips().IsPlaying(MainMenu::kFoldOutClip));
}

TEST(MainMenuFromAMatch, TheEndOfAMatchEndsInTheMainMenuWithItsLevel)
{
    FlowSetup setup;
    setup.fixtureFolders = {TARSEL_FRONTEND_FIXTURES};
    setup.startupTree = [](tarsel::Game&) { return new quellor::LoadAssets; };
    FlowGame game(std::move(setup));
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.RunUntil([&] { return game.GetGame().GetActionSystem()->GetRootList().GetCount() == 0; }, 600));
    auto* engine = quellor::Engine::Instance();
    auto* logic = engine->GetSystem<quellor::GameLogicSystem>("default");
    quellor::Entity* player = engine->CreateEntity("red0", "default");
    player->AddComponent<quellor::Transform3D>(true);
    auto* data = player->AddComponent<quellor::PlayerDataComponent>(true);
    data->playerTeam = "red";
    data->controllerID = 0;
    logic->AddPlayer(0, player, false, false);
    game.RunFrames(2);
    for (int point = 0; point < 5; ++point)
        logic->AddScore("red");
    // The win, the winner's 10 s shot, the world cleared, three frames, then the menu that
    // loads its level.
    ASSERT_TRUE(game.RunUntil([&] { return game.RunningScreens() == std::vector<std::string>{"MainMenu"}; }, 610));
    EXPECT_NE(game.FindEntity("menu_board"), nullptr);
    EXPECT_EQ(game.FindEntity("red0"), nullptr);
}

} // namespace
