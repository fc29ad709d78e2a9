// The character select on the flow harness: the road from the main menu through a join, the
// cosmetic rows, computer players and a team change into a match start (fade, clear, load,
// spawn, intro); pads held back by a busy slot; leaving while an animation runs; browsing on an
// empty slot; locked items; and a match start without its level and archetypes.
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/LoadAssets.h"
#include "engine/Space.h"
#include "engine/Transform3D.h"
#include "engine/graphics/BillboardedQuadComponent.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/content/ContentSystem.h"
#include "frontend/screens/CharSelectMenu.h"
#include "frontend/screens/MainMenu.h"
#include "frontend/screens/MatchStart.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/SkinMountComponent.h"
#include "gameplay/cameras/LevelIntroCam.h"
#include "platform/ScriptedInputSource.h"
#include "renderer/Camera.h"
#include "tests/frontend/CharSelectFixtures.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/flow/FlowGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using quellor::CharSelectMenu;
using quellor::CharSelectRules;
using quellor::Entity;
using quellor::EntityRef;
using tarsel::test::FlowGame;
using tarsel::test::FlowSetup;

namespace {

constexpr int kSpace = 32;
constexpr int kBackspace = 8;
constexpr int kCtrl = 17;
constexpr int kLeft = 37;
constexpr int kRight = 39;
constexpr int kZ = 90;
constexpr int kPadBack = 5;
constexpr int kPadA = 10;
constexpr int kPadB = 11;

float ScaleY(Entity* entity)
{
    return entity->GetComponent<quellor::Transform3D>()->m_scaleY;
}

std::string ModelOf(Entity* entity)
{
    auto* model = entity ? entity->GetComponent<quellor::GraphicsComponent3D>() : nullptr;
    return model ? model->m_modelName : "";
}

// The material of whichever visual the entity has.
std::string MaterialOf(Entity* entity)
{
    if (!entity)
        return "";
    if (auto* model = entity->GetComponent<quellor::GraphicsComponent3D>())
        return model->m_materialName;
    if (auto* skinned = entity->GetComponent<quellor::GraphicsComponent3DSkinned>())
        return skinned->m_materialName;
    if (auto* quad = entity->GetComponent<quellor::BillboardedQuadComponent>())
        return quad->m_materialName;
    return "";
}

// The tiles of a team's board rows (every second entity).
std::vector<std::string> Tiles(const std::vector<EntityRef>& board)
{
    std::vector<std::string> tiles;
    for (std::size_t k = 1; k < board.size(); k += 2)
        tiles.push_back(MaterialOf(board[k].Get()));
    return tiles;
}

class CharSelectTest : public ::testing::Test {
protected:
    // The loading screen, then the main menu and Enter on play, or the screen itself; run until
    // the screen runs.
    void Open(bool fromMainMenu)
    {
        FlowSetup setup;
        setup.fixtureFolders = {TARSEL_FRONTEND_FIXTURES};
        setup.writeFixtures = [](const std::filesystem::path& folder) { tarsel::test::WriteCharSelectContent(folder); };
        quellor::MainMenu* menu = nullptr;
        if (fromMainMenu)
            setup.screen = [&menu] { return menu = new quellor::MainMenu(true); };
        else
            setup.screen = [] { return new CharSelectMenu; };
        game.emplace(std::move(setup));
        ASSERT_TRUE(game->Start());
        if (fromMainMenu) {
            ASSERT_TRUE(game->RunUntil([&] { return menu && menu->IsReady(); }, 700));
            Tap(13);
        }
        ASSERT_TRUE(game->RunUntil([&] { return Screens() == std::vector<std::string>{"CharSelectMenu"}; }, 700));
        screen = FindScreen();
        ASSERT_NE(screen, nullptr);
        // The harness's start-up tree leaves the picture black; the game's fades it in.
        game->GetGame().GetGraphicsSystem()->GetFadeFactor() = 1.0f;
        selects = game->CountPlays("menu_select.ogg");
    }
    // Then until the scrolls are open.
    void Launch()
    {
        Open(false);
        ASSERT_TRUE(game->RunUntil([&] { return screen->IsReady() && !AnyBusy(); }, 120));
    }

    std::vector<std::string> Screens() { return game->RunningScreens(); }
    CharSelectMenu* FindScreen()
    {
        CharSelectMenu* found = nullptr;
        game->GetGame().GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
            if (const auto* menu = dynamic_cast<const CharSelectMenu*>(&action); menu && !menu->IsFinished())
                found = const_cast<CharSelectMenu*>(menu);
        });
        return found;
    }
    int CountMainMenus()
    {
        int count = 0;
        game->GetGame().GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
            count += dynamic_cast<const quellor::MainMenu*>(&action) != nullptr;
        });
        return count;
    }
    const CharSelectRules::Slot& Slot(int slot) { return screen->GetRules().GetSlot(slot); }
    bool AnyBusy()
    {
        for (int slot = 0; slot < CharSelectRules::kSlots; ++slot)
            if (Slot(slot).busy)
                return true;
        return false;
    }
    void Tap(int key)
    {
        game->Input().TapKey(key);
        ASSERT_TRUE(game->Frame());
    }
    void Press(int pad, int code)
    {
        game->Input().SetPadButton(pad, code, true);
        ASSERT_TRUE(game->Frame());
        game->Input().SetPadButton(pad, code, false);
    }
    // Runs until no slot animates; the frames it took.
    int Settle()
    {
        int frames = 0;
        while (AnyBusy() && frames < 120 && game->Frame())
            ++frames;
        EXPECT_FALSE(AnyBusy());
        return frames;
    }
    Entity* Widget(int slot, CharSelectMenu::Widget widget) { return screen->GetWidget(slot, widget); }
    std::size_t EntityCount() { return quellor::Engine::Instance()->GetSpace("default")->GetEntityMap().size(); }
    std::vector<Entity*> EntitiesWith(const std::string& prefix)
    {
        std::vector<Entity*> found;
        for (const auto& entry : quellor::Engine::Instance()->GetSpace("default")->GetEntityMap()) {
            Entity* entity = entry.second;
            if (entity && !entity->IsDestroyed() && entity->GetName().rfind(prefix, 0) == 0)
                found.push_back(entity);
        }
        return found;
    }
    // Every entity the screen holds.
    std::vector<EntityRef> ScreenEntities()
    {
        std::vector<EntityRef> refs = {screen->GetTitle(), screen->GetControls()};
        refs.insert(refs.end(), screen->GetHeaders().begin(), screen->GetHeaders().end());
        for (int slot = 0; slot < CharSelectRules::kSlots; ++slot) {
            refs.emplace_back(screen->GetScroll(slot));
            for (unsigned widget = 0; widget < CharSelectMenu::WidgetCount; ++widget)
                refs.emplace_back(Widget(slot, static_cast<CharSelectMenu::Widget>(widget)));
            for (unsigned row = 0; row < CharSelectMenu::kRows; ++row)
                refs.emplace_back(screen->GetCheckmark(slot, row));
        }
        for (int team = 0; team < CharSelectRules::kTeams; ++team)
            refs.insert(refs.end(), screen->GetBoard(team).begin(), screen->GetBoard(team).end());
        return refs;
    }
    // Confirms on the pad (the keyboard for -1) until the slot is at the stage, settling each time.
    void ConfirmTo(int pad, int stage)
    {
        const int slot = pad < 0 ? 0 : pad;
        while (Slot(slot).stage < stage) {
            if (pad < 0)
                Tap(kSpace);
            else
                Press(pad, kPadA);
            Settle();
        }
    }

    // The select cues so far.
    int Selects() { return game->CountPlays("menu_select.ogg") - selects; }

    std::optional<FlowGame> game;
    CharSelectMenu* screen = nullptr;
    int selects = 0;
};

TEST_F(CharSelectTest, TheRoadFromTheMainMenuToAMatch)
{
    Open(true);
    // The glide: no input read.
    EXPECT_FALSE(screen->IsReady());
    game->RunFrames(30);
    Tap(kSpace);
    EXPECT_FALSE(Slot(0).joined);
    ASSERT_TRUE(game->RunUntil([&] { return screen->IsReady(); }, 70));
    const ZOR::float3& eye = game->GetGame().GetGraphicsSystem()->GetActiveCamera(-1).GetPosition();
    EXPECT_NEAR(eye.z, CharSelectMenu::kCameraPosition.z, 1e-3f);
    // The scrolls grow for 0.25 s with every slot busy: still no input.
    ASSERT_NE(screen->GetTitle(), nullptr);
    EXPECT_TRUE(AnyBusy());
    Tap(kSpace);
    EXPECT_FALSE(Slot(0).joined);
    Settle();
    EXPECT_NEAR(ScaleY(screen->GetTitle()), 6.0f, 1e-3f);
    EXPECT_NEAR(ScaleY(screen->GetControls()), 10.0f, 1e-3f);
    EXPECT_NEAR(ScaleY(screen->GetHeaders()[3].Get()), 3.0f, 1e-3f);
    EXPECT_NEAR(ScaleY(screen->GetScroll(2)), 0.5f, 1e-3f);
    EXPECT_EQ(MaterialOf(screen->GetHeaders()[1].Get()), "char_select_orange_title.mat");
    EXPECT_EQ(game->CountPlays("scroll_open.ogg"), 0);

    // Space joins slot 0; its widgets open after 0.65 s, and no pad is read meanwhile.
    Tap(kSpace);
    EXPECT_TRUE(Slot(0).joined);
    EXPECT_EQ(game->CountPlays("scroll_open.ogg"), 1);
    EXPECT_EQ(Selects(), 0);
    ASSERT_NE(Widget(0, CharSelectMenu::Preview), nullptr);
    EXPECT_FLOAT_EQ(ScaleY(Widget(0, CharSelectMenu::Preview)), 0.0f);
    Press(1, kPadA);
    EXPECT_FALSE(Slot(1).joined);
    const int frames = Settle() + 1;
    EXPECT_GE(frames, 39);
    EXPECT_LE(frames, 42);
    EXPECT_FLOAT_EQ(ScaleY(Widget(0, CharSelectMenu::Preview)), 0.75f);
    EXPECT_FLOAT_EQ(ScaleY(Widget(0, CharSelectMenu::TeamRight)), 0.4f);
    EXPECT_FLOAT_EQ(ScaleY(Widget(0, CharSelectMenu::MaskIcon)), 0.65f);
    EXPECT_FLOAT_EQ(ScaleY(Widget(0, CharSelectMenu::Swatch)), 2.0f);
    EXPECT_EQ(MaterialOf(Widget(0, CharSelectMenu::Swatch)), "red_boid.mat");
    EXPECT_EQ(ModelOf(Widget(0, CharSelectMenu::HairMount)), "hair_default.model");
    EXPECT_EQ(MaterialOf(Widget(0, CharSelectMenu::MaskMount)), "mask_red.mat");
    EXPECT_EQ(Tiles(screen->GetBoard(0)), std::vector<std::string>{"char_select_number_0.mat"});

    // Hair and mask confirmed: two checkmarks grow to 0.2.
    Tap(kSpace);
    EXPECT_EQ(Slot(0).stage, 1);
    Settle();
    Tap(kSpace);
    EXPECT_EQ(Slot(0).stage, 2);
    Settle();
    EXPECT_EQ(Selects(), 2);
    ASSERT_NE(screen->GetCheckmark(0, 1), nullptr);
    EXPECT_NEAR(ScaleY(screen->GetCheckmark(0, 0)), 0.2f, 1e-3f);
    EXPECT_EQ(ModelOf(screen->GetCheckmark(0, 1)), "checkmark.model");

    // Three red computer players.
    for (int i = 0; i < 3; ++i) {
        Tap(kZ);
        ASSERT_TRUE(game->Frame()); // the key up again
    }
    EXPECT_EQ(screen->GetRules().GetComputerPlayers(), (std::vector<int>{0, 0, 0}));
    const std::string cp = "char_select_number_cp.mat";
    EXPECT_EQ(Tiles(screen->GetBoard(0)), (std::vector<std::string>{"char_select_number_0.mat", cp, cp, cp}));

    // Orange.
    Tap(kRight);
    EXPECT_EQ(Slot(0).team, 1);
    EXPECT_EQ(MaterialOf(Widget(0, CharSelectMenu::Swatch)), "yellow_boid.mat");
    EXPECT_EQ(MaterialOf(Widget(0, CharSelectMenu::Preview)), "player_orange.mat");
    EXPECT_EQ(Tiles(screen->GetBoard(1)), std::vector<std::string>{"char_select_number_0.mat"});
    EXPECT_EQ(Tiles(screen->GetBoard(0)), (std::vector<std::string>{cp, cp, cp}));
    Tap(kSpace);
    Settle();
    EXPECT_EQ(Slot(0).stage, 3);

    // The start: the fade falls from the confirm's frame on, for 0.5 s.
    const std::vector<EntityRef> own = ScreenEntities();
    EXPECT_FLOAT_EQ(game->GetFadeFactor(), 1.0f);
    Tap(kSpace);
    EXPECT_FALSE(screen->IsActive());
    EXPECT_EQ(Selects(), 4);
    EXPECT_LT(game->GetFadeFactor(), 1.0f);
    int fadeFrames = 1;
    while (game->GetFadeFactor() > 0.0f && fadeFrames < 40) {
        EXPECT_GT(EntityCount(), 0u);
        ASSERT_TRUE(game->Frame());
        ++fadeFrames;
    }
    EXPECT_GE(fadeFrames, 29);
    EXPECT_LE(fadeFrames, 31);
    // By the end of that frame "default" is empty; the level a frame later.
    EXPECT_EQ(EntityCount(), 0u);
    for (const EntityRef& ref : own)
        EXPECT_EQ(ref.Get(), nullptr);
    ASSERT_TRUE(game->Frame());
    EXPECT_NE(game->FindEntity("redSpawn"), nullptr);
    EXPECT_EQ(game->FindEntity("menu_board"), nullptr);
    ASSERT_TRUE(game->Frame());
    EXPECT_TRUE(EntitiesWith("player").empty());
    ASSERT_TRUE(game->Frame());

    // Four players: the person first, then the three computer players.
    const std::vector<Entity*> players = EntitiesWith("player");
    ASSERT_EQ(players.size(), 4u);
    int people = 0;
    for (Entity* player : players) {
        auto* data = player->GetComponent<quellor::PlayerDataComponent>();
        ASSERT_NE(data, nullptr);
        if (data->controllerID == 0) {
            ++people;
            EXPECT_EQ(data->playerTeam, "orange");
            EXPECT_EQ(MaterialOf(player), "player_orange.mat");
        } else {
            EXPECT_EQ(data->controllerID, -1);
            EXPECT_EQ(data->playerTeam, "red");
            EXPECT_EQ(MaterialOf(player), "player_red.mat");
        }
    }
    EXPECT_EQ(people, 1);
    // Eight mounts on the head bone, one hair and one mask per player, with slot 0's entries.
    int mounts = 0;
    for (const auto& entry : quellor::Engine::Instance()->GetSpace("default")->GetEntityMap()) {
        auto* mount = entry.second->GetComponent<quellor::SkinMountComponent>();
        if (!mount)
            continue;
        ++mounts;
        EXPECT_EQ(mount->m_boneNum, 5);
        const bool hair = entry.second->GetName().rfind("hair", 0) == 0;
        EXPECT_EQ(mount->m_mountName, hair ? "hair_tarsel.model" : "mask_default.model");
        EXPECT_EQ(mount->m_matName, hair ? "hair_black.mat" : "mask_default.mat");
        EXPECT_NE(std::find(players.begin(), players.end(), mount->GetTarget()), players.end());
    }
    EXPECT_EQ(mounts, 8);
    // The intro runs with the entry list: the person, then the computer players.
    const quellor::LevelIntroCam* intro = nullptr;
    game->GetGame().GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
        if (!intro)
            intro = dynamic_cast<const quellor::LevelIntroCam*>(&action);
    });
    ASSERT_NE(intro, nullptr);
    EXPECT_TRUE(intro->IsStarted());
    std::vector<std::pair<int, std::string>> entries;
    for (const quellor::IntroPlayerEntry& entry : intro->GetEntries())
        entries.emplace_back(entry.slot, entry.team);
    EXPECT_EQ(entries, (std::vector<std::pair<int, std::string>>{{0, "orange"}, {-1, "red"}, {-1, "red"}, {-1, "red"}}));
    // The screen is done, and its end removed nothing.
    EXPECT_EQ(FindScreen(), nullptr);
    ASSERT_TRUE(game->Frame());
    EXPECT_EQ(EntitiesWith("player").size(), 4u);
    EXPECT_NE(game->FindEntity("redSpawn"), nullptr);

    // The fade rises to 1 over 2 s beside the intro.
    game->RunFrames(59);
    EXPECT_NEAR(game->GetFadeFactor(), 0.5f, 0.02f);
    game->RunFrames(60);
    EXPECT_FLOAT_EQ(game->GetFadeFactor(), 1.0f);
}

TEST_F(CharSelectTest, ABusySlotHoldsBackItsPadAndTheLaterOnesOnly)
{
    Launch();
    Tap(kSpace); // slot 0 joins and animates
    Press(1, kPadA);
    EXPECT_FALSE(Slot(1).joined);
    Settle();

    Press(2, kPadA); // slot 2 joins and animates
    EXPECT_TRUE(Slot(2).busy);
    Press(0, kPadA); // pad 0 still acts
    EXPECT_EQ(Slot(0).stage, 1);
    Press(3, kPadA); // pad 3 waits
    EXPECT_FALSE(Slot(3).joined);
    Settle();

    ConfirmTo(0, 3);
    ConfirmTo(2, 3);
    // Pad 2 with slot 1 empty starts nothing; its select cue plays all the same.
    const int before = Selects();
    Press(2, kPadA);
    EXPECT_TRUE(screen->IsActive());
    EXPECT_EQ(Selects(), before + 1);
    Press(0, kPadA);
    EXPECT_FALSE(screen->IsActive());
}

TEST_F(CharSelectTest, LeavingWhileASlotAnimatesEndsEverythingOnce)
{
    Launch();
    Tap(kSpace); // slot 0's join runs for 0.65 s
    const std::vector<EntityRef> own = ScreenEntities();
    game->Input().SetKey(kCtrl, true);
    Tap(kBackspace);
    game->Input().SetKey(kCtrl, false);
    EXPECT_EQ(Screens(), std::vector<std::string>{"MainMenu"});
    EXPECT_EQ(CountMainMenus(), 1);
    game->RunFrames(50); // past the join's end: nothing writes into the screen
    for (const EntityRef& ref : own)
        EXPECT_EQ(ref.Get(), nullptr);
    EXPECT_EQ(CountMainMenus(), 1);
}

TEST_F(CharSelectTest, BackOnAnEmptyScreenByTwoPadsOpensOneMainMenu)
{
    Launch();
    // Back on an empty screen by two pads at once: one main menu.
    game->Input().SetPadButton(0, kPadB, true);
    game->Input().SetPadButton(1, kPadB, true);
    ASSERT_TRUE(game->Frame());
    EXPECT_EQ(CountMainMenus(), 1);
    EXPECT_EQ(Selects(), 1);
}

TEST_F(CharSelectTest, PadBackLeavesFromAnyStateWithTheChecksAndAnimations)
{
    Launch();
    Tap(kSpace); // join
    Settle();
    ConfirmTo(-1, 3);
    Press(2, kPadA); // slot 2 joins and animates
    const std::vector<EntityRef> own = ScreenEntities();
    ASSERT_NE(screen->GetCheckmark(0, 2), nullptr);
    Press(1, kPadBack); // pad 1 comes before the busy slot 2
    EXPECT_EQ(Screens(), std::vector<std::string>{"MainMenu"});
    EXPECT_EQ(CountMainMenus(), 1);
    EXPECT_EQ(Selects(), 3); // the checkmarks' only: Back plays nothing
    game->RunFrames(45);
    for (const EntityRef& ref : own)
        EXPECT_EQ(ref.Get(), nullptr);
}

TEST_F(CharSelectTest, BrowsingAnEmptySlotShowsNothingAndAJoinStartsOnTheFirstEntries)
{
    Launch();
    const std::size_t entities = EntityCount();
    Tap(kLeft);
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), 1);
    EXPECT_EQ(Slot(0).hair, 2);
    ASSERT_TRUE(game->Frame());
    EXPECT_EQ(EntityCount(), entities);
    EXPECT_EQ(Widget(0, CharSelectMenu::HairIcon), nullptr);

    Tap(kSpace);
    Settle();
    EXPECT_EQ(Slot(0).hair, 0);
    EXPECT_EQ(ModelOf(Widget(0, CharSelectMenu::HairIcon)), "hair_tarsel.model");
    EXPECT_EQ(MaterialOf(Widget(0, CharSelectMenu::HairIcon)), "hair_black.mat");
    EXPECT_EQ(ModelOf(Widget(0, CharSelectMenu::MaskIcon)), "mask_default.model");
    EXPECT_EQ(MaterialOf(Widget(0, CharSelectMenu::MaskIcon)), "mask_default.mat");
    EXPECT_EQ(screen->GetRules().HairEntry(0), "hair_tarsel:hair_black");

    // Right Shift turns the preview right; with both shifts held the left one wins.
    auto* preview = Widget(0, CharSelectMenu::Preview)->GetComponent<quellor::Transform3D>();
    const float step = CharSelectRules::kHalfPi / 60.0f;
    const quellor::Quat before = preview->m_rotation;
    game->Input().SetKey(161, true);
    ASSERT_TRUE(game->Frame());
    const quellor::Quat right = CharSelectRules::Turn(before, step);
    EXPECT_NEAR(preview->m_rotation.y, right.y, 1e-5f);
    EXPECT_NEAR(preview->m_rotation.w, right.w, 1e-5f);
    game->Input().SetKey(160, true);
    ASSERT_TRUE(game->Frame());
    game->Input().SetKey(160, false);
    game->Input().SetKey(161, false);
    const quellor::Quat back = CharSelectRules::Turn(right, -step);
    EXPECT_NEAR(preview->m_rotation.y, back.y, 1e-5f);
    EXPECT_NEAR(preview->m_rotation.w, back.w, 1e-5f);
}

TEST_F(CharSelectTest, ALockedHairShowsTheLockedLookAndCannotBeConfirmed)
{
    Open(false);
    quellor::ContentSystem* content = game->GetGame().GetContentSystem();
    quellor::ContentSystem::Unlocked unlocked{content->GetUnlockedHats(), {"hair_tarsel:hair_black", "hair_tarsel:mask_purple"},
                                              content->GetUnlockedMasks()};
    content->SetUnlocked(unlocked);
    ASSERT_TRUE(game->RunUntil([&] { return screen->IsReady() && !AnyBusy(); }, 120));
    Tap(kSpace);
    Settle();
    Tap(kLeft); // to "hair_tarsel:mask_red"
    EXPECT_EQ(screen->GetRules().HairEntry(0), "hair_tarsel:mask_red");
    for (const auto widget : {CharSelectMenu::HairMount, CharSelectMenu::HairIcon}) {
        EXPECT_EQ(ModelOf(Widget(0, widget)), "hair_tarsel.model");
        EXPECT_EQ(MaterialOf(Widget(0, widget)), "hair_locked.mat");
    }
    Tap(kSpace);
    EXPECT_EQ(Slot(0).stage, 0);
    EXPECT_EQ(Selects(), 1);
    EXPECT_EQ(screen->GetCheckmark(0, 0), nullptr);
    Tap(kRight);
    EXPECT_EQ(MaterialOf(Widget(0, CharSelectMenu::HairMount)), "hair_black.mat");
    Tap(kSpace);
    EXPECT_EQ(Slot(0).stage, 1);
}

TEST(MatchStartWithoutContent, MissingLevelAndArchetypesWarnAndTheStartGoesOn)
{
    FlowSetup setup;
    setup.startupTree = [](tarsel::Game&) { return new quellor::LoadAssets; };
    FlowGame game(std::move(setup));
    ASSERT_TRUE(game.Start());
    ASSERT_TRUE(game.RunUntil([&] { return game.GetGame().GetActionSystem()->GetRootList().GetCount() == 0; }, 600));
    CharSelectRules roster({"hair_tarsel:hair_black"}, {"mask_default:mask_default"});
    roster.Join(0);
    roster.AddComputer(0);
    tarsel::test::StdoutCapture capture;
    auto start = std::make_shared<quellor::MatchStart>(roster);
    ASSERT_TRUE(start->Queue(nullptr));
    start.reset(); // the sequence keeps it
    // The spawn comes 33 frames after the start is queued.
    ASSERT_TRUE(game.RunUntil([&] { return game.FindEntity("player") != nullptr; }, 40));
    const std::string text = capture.Text();
    EXPECT_NE(text.find("\"Beta.ql\""), std::string::npos) << text;
    for (const char* archetype : {"beta_player.arch", "ai_bot.arch"}) {
        const std::string name = std::string("\"") + archetype + "\" has no PlayerDataComponent";
        EXPECT_NE(text.find(name), std::string::npos) << text;
    }
    // The two empty players stand, with their mounts.
    int mounts = 0;
    for (const auto& entry : quellor::Engine::Instance()->GetSpace("default")->GetEntityMap())
        mounts += entry.second->GetComponent<quellor::SkinMountComponent>() != nullptr;
    EXPECT_EQ(mounts, 4);
}

} // namespace
