// S7, S8 and S9: the pause menu over a running match on "Beta.ql" (one person on the keyboard
// against three computer players): its pages, resume, quit to the main menu and quit game.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/SoundSystem.h"
#include "engine/Space.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/TextComponent.h"
#include "frontend/screens/MainMenu.h"
#include "frontend/screens/PauseMenu.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "platform/ScriptedInputSource.h"
#include "tests/e2e/Scenario.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace tarsel::test {
namespace {

using quellor::PauseMenu;

// An entity's name without the number UniqueEntityName may have added.
std::string BaseName(const std::string& name)
{
    return name.substr(0, name.find_last_not_of("0123456789") + 1);
}

class PauseScenario : public Scenario {
protected:
    void SetUp() override
    {
        if (!MatchContentBuilt())
            GTEST_SKIP() << "the built content has no \"Beta.ql\" or menu level yet";
    }

    // From boot to the match in play: the intro over, the score display up.
    void ReachPlay()
    {
        FlowSetup setup = ContentSetup();
        setup.drawEvery = 30;
        Boot(std::move(setup));
        ASSERT_NE(WaitForScreen("MainMenu", 1500), nullptr);
        menuNames = DefaultNames();
        StartMatch();
        ASSERT_TRUE(game->RunUntil([&] { return IntroRuns(); }, 120));
        ASSERT_TRUE(game->RunUntil([&] { return !IntroRuns(); }, 12 * 60));
        ASSERT_TRUE(game->RunUntil([&] {
            return Logic().m_active && !Logic().GetScoreTexts().empty() && !ScoreTexts().front().empty();
        }, 10));
        ASSERT_EQ(MatchPlayers().size(), 4u);
    }

    quellor::GameLogicSystem& Logic() const { return *game->GetGameLogic(); }

    // The names of "default"'s entities, without their numbers, sorted.
    std::vector<std::string> DefaultNames() const
    {
        std::vector<std::string> names;
        for (const auto& [name, entity] : quellor::Engine::Instance()->GetSpace("default")->GetEntityMap())
            names.push_back(BaseName(name));
        std::sort(names.begin(), names.end());
        return names;
    }

    std::vector<std::string> ScoreTexts() const
    {
        std::vector<std::string> texts;
        for (const quellor::EntityRef& ref : Logic().GetScoreTexts())
            if (quellor::Entity* entity = ref.Get())
                if (auto* text = entity->GetComponent<quellor::TextComponent>())
                    texts.push_back(text->GetValue());
        return texts;
    }

    // Every player's canControl equals control.
    bool Controls(bool control) const
    {
        for (quellor::Entity* player : MatchPlayers())
            if (player->GetComponent<quellor::PlayerDataComponent>()->GetControlable() != control)
                return false;
        return true;
    }

    // The backend channels of the effects sounding now: not the songs, nor the select cue the
    // pause menu plays again.
    std::set<int> SoundingEffects()
    {
        std::set<int> channels;
        const auto& states = game->GetSoundRecord().channels;
        const auto& files = game->GetSoundRecord().loaded;
        for (std::size_t i = 0; i < states.size(); ++i) {
            const auto file = files.find(states[i].sound);
            if (states[i].sound != 0 && !states[i].paused && file != files.end() &&
                std::filesystem::path(file->second).filename() != "menu_select.ogg")
                channels.insert(static_cast<int>(i));
        }
        quellor::SoundSystem* sound = game->GetGame().GetSoundSystem();
        for (const char* song : {"theme_gameplay.ogg", "theme_menu.ogg"})
            if (auto* channel = sound->GetChannel(song, quellor::SoundSystem::SongTable))
                channels.erase(channel->channel);
        return channels;
    }
    bool Paused(int channel) { return game->GetSoundRecord().channels.at(static_cast<std::size_t>(channel)).paused; }

    PauseMenu* Menu() const { return static_cast<PauseMenu*>(game->FindScreen("PauseMenu")); }
    std::string Panel() const
    {
        quellor::Entity* panel = Menu() ? Menu()->GetBackground() : nullptr;
        auto* sprite = panel ? panel->GetComponent<quellor::GraphicsComponent2D>() : nullptr;
        return sprite ? sprite->m_materialName : "";
    }

    // Escape during play: the menu is up.
    PauseMenu* Open()
    {
        Press(kEscape);
        PauseMenu* menu = Menu();
        EXPECT_NE(menu, nullptr) << game->Dump();
        return menu;
    }
    // Runs until the cursor's or a check mark's tween is over: the menu ignores input while one runs.
    void WaitUntilIdle() { ASSERT_TRUE(game->RunUntil([&] { return Menu() && !Menu()->IsBusy(); }, 60)); }
    // A tap of the key in one frame, once the menu takes input.
    void TapWhenIdle(int key)
    {
        WaitUntilIdle();
        game->Input().TapKey(key);
        ASSERT_TRUE(game->Frame());
    }
    bool IsPerson(std::size_t index) const
    {
        quellor::Entity* player = Logic().GetPlayer(static_cast<int>(index));
        return player->GetComponent<quellor::PlayerDataComponent>()->controllerID >= 0;
    }
    void PressInMenu(int key)
    {
        WaitUntilIdle();
        Press(key);
    }
    // From the main page, down to the entry and Enter.
    void Choose(unsigned entry)
    {
        ASSERT_EQ(Menu()->GetPage(), static_cast<unsigned>(PauseMenu::MainPage));
        for (unsigned i = 0; i < entry; ++i)
            PressInMenu(kDown);
        ASSERT_EQ(Menu()->GetCursorIndex(), entry);
        PressInMenu(kEnter);
    }

    std::vector<std::string> menuNames;
};

TEST_F(PauseScenario, S7PauseStopsTheMatchShowsEachPageAndResumeRestoresIt)
{
    ReachPlay();
    const std::vector<std::string> scores = ScoreTexts();
    const std::set<int> effects = SoundingEffects();
    if (ContentHasFile("countdown_beep.ogg")) {
        ASSERT_FALSE(effects.empty()) << "the intro's beeps are still sounding";
    }

    PauseMenu* menu = Open();
    ASSERT_NE(menu, nullptr);
    // The panel, the cursor and three check marks, in "default" beside the level.
    std::vector<quellor::Entity*> built = {menu->GetBackground(), menu->GetCursor()};
    for (unsigned i = 0; i < PauseMenu::SettingCount; ++i)
        built.push_back(menu->GetCheck(static_cast<PauseMenu::Setting>(i)));
    const std::vector<std::string> bases = {"bg", "cursor", "check", "check", "check"};
    std::vector<quellor::EntityRef> builtRefs;
    for (std::size_t i = 0; i < built.size(); ++i) {
        ASSERT_NE(built[i], nullptr) << bases[i];
        EXPECT_EQ(BaseName(built[i]->GetName()), bases[i]);
        EXPECT_EQ(game->FindEntity(built[i]->GetName()), built[i]);
        builtRefs.emplace_back(built[i]);
    }
    EXPECT_FALSE(game->IsSystemActive("GameLogicSystem"));
    EXPECT_FALSE(game->IsSystemActive("PhysicsSystem3D"));
    EXPECT_TRUE(Controls(false));
    for (int channel : effects)
        EXPECT_TRUE(Paused(channel)) << "effect channel " << channel;
    EXPECT_EQ(ScoreTexts(), std::vector<std::string>(scores.size(), " "));
    EXPECT_EQ(Panel(), "2d_pause.mat");
    Shot("s7_pause");

    // Each page and back to resume; both confirmations answered no.
    struct Page {
        PauseMenu::Entry entry;
        PauseMenu::Page page;
        const char* picture;
        int leave;
        const char* shot; // none: the picture was shot already
    };
    const Page pages[] = {
        {PauseMenu::HowToPlay, PauseMenu::HowToPlayPage, "2d_htp_keyboard.mat", kBackspace, "s7_pause_how_to_play"},
        {PauseMenu::Options, PauseMenu::OptionsPage, "2d_options.mat", kEscape, "s7_pause_options"},
        {PauseMenu::Credits, PauseMenu::CreditsPage, "2d_credits.mat", kBackspace, "s7_pause_credits"},
        {PauseMenu::QuitToMenu, PauseMenu::QuitToMenuPage, "2d_cda.mat", kEnter, "s7_pause_are_you_sure"},
        {PauseMenu::QuitGame, PauseMenu::QuitGamePage, "2d_cda.mat", kEnter, nullptr},
    };
    for (const Page& page : pages) {
        SCOPED_TRACE(page.picture);
        Choose(page.entry);
        ASSERT_EQ(Menu(), menu);
        EXPECT_EQ(menu->GetPage(), static_cast<unsigned>(page.page));
        EXPECT_EQ(Panel(), page.picture);
        if (page.page == PauseMenu::OptionsPage) {
            for (unsigned i = 0; i < PauseMenu::SettingCount; ++i)
                EXPECT_FLOAT_EQ(menu->GetCheck(static_cast<PauseMenu::Setting>(i))
                                    ->GetComponent<quellor::GraphicsComponent2D>()->GetAlpha(), 1.0f);
        }
        if (page.shot)
            Shot(page.shot);
        PressInMenu(page.leave);
        EXPECT_EQ(menu->GetPage(), static_cast<unsigned>(PauseMenu::MainPage));
        EXPECT_EQ(menu->GetCursorIndex(), static_cast<unsigned>(PauseMenu::Resume));
        EXPECT_EQ(Panel(), "2d_pause.mat");
    }
    // Nothing ran in the match meanwhile.
    EXPECT_FALSE(game->IsSystemActive("GameLogicSystem"));
    EXPECT_TRUE(Controls(false));

    // Resume: the frame that takes Enter closes the menu and gives everything back.
    TapWhenIdle(kEnter);
    EXPECT_EQ(Menu(), nullptr);
    EXPECT_TRUE(game->IsSystemActive("GameLogicSystem"));
    EXPECT_TRUE(game->IsSystemActive("PhysicsSystem3D"));
    EXPECT_FALSE(Logic().m_paused);
    EXPECT_TRUE(Controls(true));
    for (int channel : effects)
        EXPECT_FALSE(Paused(channel)) << "effect channel " << channel;
    // The people's scores are back; a computer player's text is on a screen that does not
    // exist and is not rewritten.
    const std::vector<std::string> after = ScoreTexts();
    ASSERT_EQ(after.size(), scores.size());
    for (std::size_t i = 0; i < scores.size(); ++i) {
        if (IsPerson(i)) {
            EXPECT_EQ(after[i], scores[i]) << "score text " << i;
        }
    }
    // No pause opens in that frame and the two after it (presses need a frame between them);
    // one in the third opens the menu in the frame after.
    game->Input().TapKey(kEscape);
    ASSERT_TRUE(game->Frame());
    ASSERT_TRUE(game->Frame());
    EXPECT_EQ(Menu(), nullptr);
    for (const quellor::EntityRef& ref : builtRefs)
        EXPECT_EQ(ref.Get(), nullptr) << "the menu's entities go with it";
    game->Input().TapKey(kEscape);
    ASSERT_TRUE(game->Frame());
    ASSERT_TRUE(game->Frame());
    ASSERT_NE(Menu(), nullptr);
    // Escape on the main page resumes; neither that Escape nor one two frames later pauses again.
    TapWhenIdle(kEscape);
    EXPECT_EQ(Menu(), nullptr);
    ASSERT_TRUE(game->Frame());
    game->Input().TapKey(kEscape);
    ASSERT_TRUE(game->Frame());
    ASSERT_TRUE(game->Frame());
    EXPECT_EQ(Menu(), nullptr);
    EXPECT_TRUE(Controls(true));
    EXPECT_TRUE(game->IsSystemActive("GameLogicSystem"));
    ExpectCleanLog();
}

TEST_F(PauseScenario, S8QuitToMenuEmptiesTheMatchAndLoadsTheMenuOnce)
{
    ReachPlay();
    ASSERT_NE(Open(), nullptr);
    Choose(PauseMenu::QuitToMenu);
    ASSERT_EQ(Menu()->GetPage(), static_cast<unsigned>(PauseMenu::QuitToMenuPage));
    PressInMenu(kDown);
    ASSERT_EQ(Menu()->GetCursorIndex(), 1u);
    PressInMenu(kEnter);
    // The scores and their display go at once; the rest of the match, the pause menu's own
    // entities among them, stands through the box-in.
    EXPECT_TRUE(Logic().GetScores().empty());
    EXPECT_TRUE(Logic().GetScoreTexts().empty());
    EXPECT_TRUE(game->FindEntitiesWithPrefix("playerScore").empty());
    std::vector<quellor::EntityRef> match;
    for (quellor::Entity* entity : game->FindEntitiesWithPrefix(""))
        match.emplace_back(entity);
    auto alive = [&] {
        return std::count_if(match.begin(), match.end(), [](const quellor::EntityRef& ref) { return ref.Get(); });
    };

    // The box-in darkens the match for a second while it stands; the frame it ends empties
    // "default", and three frames later the main menu loads its level.
    ASSERT_TRUE(game->RunUntil([&] { return game->FindScreen("BoxIn") != nullptr; }, 2));
    const std::uint32_t boxIn = game->GetGame().GetFrameCount();
    bool stood = true;
    ASSERT_TRUE(game->RunUntil([&] {
        if (!game->FindScreen("BoxIn"))
            return true;
        stood = stood && alive() == static_cast<std::ptrdiff_t>(match.size());
        return false;
    }, 70));
    EXPECT_TRUE(stood);
    EXPECT_GE(game->GetGame().GetFrameCount() - boxIn, 59u);
    EXPECT_EQ(alive(), 0);
    EXPECT_TRUE(DefaultNames().empty());
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(game->FindScreen("MainMenu"), nullptr) << frame;
        EXPECT_TRUE(DefaultNames().empty()) << frame;
        ASSERT_TRUE(game->Frame());
    }
    EXPECT_NE(game->FindScreen("MainMenu"), nullptr);
    EXPECT_EQ(Menu(), nullptr);
    auto* mainMenu = static_cast<quellor::MainMenu*>(WaitForScreen("MainMenu", 120));
    ASSERT_NE(mainMenu, nullptr);
    EXPECT_TRUE(mainMenu->LoadsLevel());
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"MainMenu"});
    EXPECT_EQ(Logic().GetPlayerCount(), 0u);
    EXPECT_TRUE(MatchPlayers().empty());
    EXPECT_TRUE(Logic().GetScores().empty());
    EXPECT_EQ(game->GetScreenCount(), 1u);
    EXPECT_EQ(alive(), 0) << "no entity of the match is left";
    // The menu as it was at start-up: its level once, nothing of the match.
    EXPECT_EQ(DefaultNames(), menuNames);
    Shot("s8_main_menu_again");

    // The level loader names each file it reads.
    std::istringstream log(capture->Text());
    const std::string level = quellor::MainMenu::kLevel;
    std::size_t loads = 0;
    for (std::string line; std::getline(log, line);)
        if (line.rfind("start: ", 0) == 0 && line.size() >= level.size() &&
            line.compare(line.size() - level.size(), level.size(), level) == 0)
            ++loads;
    EXPECT_EQ(loads, 2u) << "once at start-up, once on the way back";
    ExpectCleanLog();
}

TEST_F(PauseScenario, S9QuitGameEndsTheProgram)
{
    ReachPlay();
    ASSERT_NE(Open(), nullptr);
    Choose(PauseMenu::QuitGame);
    ASSERT_EQ(Menu()->GetPage(), static_cast<unsigned>(PauseMenu::QuitGamePage));
    PressInMenu(kDown);
    ASSERT_EQ(Menu()->GetCursorIndex(), 1u);
    // The quit frame runs to its end; then the loop is over and the game shuts down normally.
    TapWhenIdle(kEnter);
    EXPECT_FALSE(game->Frame());
    game.reset();
    ExpectCleanLog();
}

} // namespace
} // namespace tarsel::test
