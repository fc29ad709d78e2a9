// The menu screen frame on the flow harness, with a fixture screen: the camera glide and the
// ready flag, the input walk, cues and the theme rule, the hand-over, tracked flows that end
// with the screen, and a level entity that is missing.
#include "engine/ActionList.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Transform2D.h"
#include "engine/TweenTo.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/MenuScreen.h"
#include "frontend/ui/CheckboxComponent.h"
#include "platform/ScriptedInputSource.h"
#include "renderer/Camera.h"
#include "tests/frontend/ScreenFixtures.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/flow/FlowGame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using quellor::MenuCommand;
using quellor::Vec4;
using tarsel::test::FlowGame;
using tarsel::test::FlowSetup;

namespace {

constexpr int kDown = 40;
constexpr int kEnter = 13;
constexpr int kPadA = 10;
const Vec4 kTargetPosition(-2.76f, 54.08f, 45.3f, 1.0f);
const Vec4 kTargetLook(-0.06f, -0.01f, -0.99f, 0.0f);

// What the fixture screens did, frame by frame.
struct Journal {
    std::vector<std::string> events;
    std::vector<int> activations; // the pass (pad) that acted
    int cursor = 0;
    std::size_t flowsAtEnd = 0;   // tracked flows still running when End ran
    std::vector<std::string> found; // the level entities the screen found
};

// A menu screen with three items: it glides (when asked), moves its cursor, and on activation
// records the pass and hands over when it has a successor.
class FixtureScreen : public quellor::MenuScreen {
public:
    FixtureScreen(std::string name, Journal* journal) : MenuScreen(std::move(name)), m_journal(journal) {}

    bool glide = false;
    bool makeOverlay = false;
    bool walkOn = false;
    std::string level;
    std::vector<std::string> levelEntities;
    std::function<quellor::Action*()> next;

    using MenuScreen::GetInput;
    using MenuScreen::GetSound;

protected:
    void Start() override
    {
        Log("start");
        if (!level.empty())
            quellor::Engine::Instance()->GetSystem<quellor::ObjectSystem>(kSpace)->LoadLevel(level);
        for (const std::string& name : levelEntities)
            if (FindLevelEntity(name))
                m_journal->found.push_back(name);
        if (makeOverlay) {
            quellor::Entity* overlay = CreateOverlay(GetScreenName() + "_overlay", "materials/fixture_overlay.mat");
            auto* transform = overlay->GetComponent<quellor::Transform2D>();
            PlaceCentered(*transform, 200.0f, 100.0f);
            // A slide into the overlay's own transform: it must end with the screen.
            RunTracked(new quellor::TweenTo(&transform->m_y, 10.0f, 0.0f, 0, true, false), 4);
        }
        if (glide)
            StartGlide(kTargetPosition, kTargetLook, 1.5f, 2);
    }
    bool WalksOnAfterAction() const override { return walkOn; }
    void End() override
    {
        m_journal->flowsAtEnd = GetFlows().Count();
        Log("end");
    }
    void UpdateScreen(float) override { Log("update"); }

    bool HandleInput(int pad, bool withKeyboard) override
    {
        if (Pressed(MenuCommand::Down, pad, withKeyboard)) {
            m_journal->cursor = std::min(m_journal->cursor + 1, 2);
            PlayHighlight();
            return true;
        }
        if (Pressed(MenuCommand::Activate, pad, withKeyboard)) {
            m_journal->activations.push_back(pad);
            PlaySelect();
            if (quellor::Action* following = next ? next() : nullptr)
                HandOver(following);
            return true;
        }
        return false;
    }

private:
    void Log(const std::string& what) { m_journal->events.push_back(GetScreenName() + ":" + what); }

    Journal* m_journal;
};

class MenuScreenTest : public ::testing::Test {
protected:
    // A game whose start-up tree is the loading screen and then the screen; run until it runs.
    FixtureScreen* Launch(const std::function<void(FixtureScreen&)>& configure = {})
    {
        FlowSetup setup;
        setup.writeFixtures = tarsel::test::WriteMenuSounds;
        setup.fixtureFolders = {TARSEL_FRONTEND_FIXTURES};
        setup.screen = [this, configure] {
            screen = new FixtureScreen("First", &journal);
            if (configure)
                configure(*screen);
            return screen;
        };
        game.emplace(std::move(setup));
        EXPECT_TRUE(game->Start());
        EXPECT_TRUE(game->RunUntil([&] { return !game->RunningScreens().empty(); }, 600));
        return screen;
    }

    ZOR::Camera& Camera() { return game->GetGame().GetGraphicsSystem()->GetActiveCamera(-1); }
    bool Ready() { return screen->IsReady(); }

    Journal journal;
    FixtureScreen* screen = nullptr;
    std::optional<FlowGame> game;
};

TEST_F(MenuScreenTest, AGlideReachesItsTargetsWithinAFrameAndOnlyThenSetsReady)
{
    Launch([](FixtureScreen& s) { s.glide = true; });
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(Ready());
    const Vec4 start = screen->GetCameraPosition();
    int frames = 0;
    while (!Ready() && frames < 200) {
        ASSERT_TRUE(game->Frame());
        ++frames;
        const Vec4& position = screen->GetCameraPosition();
        if (!Ready()) {
            // Linear: each coordinate between its start and its target.
            EXPECT_LE(std::fabs(position.y - kTargetPosition.y), std::fabs(start.y - kTargetPosition.y) + 1e-3f);
        }
    }
    // 1.5 s at 60 frames a second: ready within a frame of the end.
    EXPECT_GE(frames, 89);
    EXPECT_LE(frames, 91);
    const Vec4& position = screen->GetCameraPosition();
    EXPECT_NEAR(position.x, kTargetPosition.x, 1e-3f);
    EXPECT_NEAR(position.y, kTargetPosition.y, 1e-3f);
    EXPECT_NEAR(position.z, kTargetPosition.z, 1e-3f);
    EXPECT_NEAR(screen->GetCameraLook().z, kTargetLook.z, 1e-4f);
    // The camera follows the fields in the screen's next update.
    ASSERT_TRUE(game->Frame());
    const ZOR::float3& eye = Camera().GetPosition();
    EXPECT_NEAR(eye.x, kTargetPosition.x, 1e-3f);
    EXPECT_NEAR(eye.y, kTargetPosition.y, 1e-3f);
    EXPECT_NEAR(eye.z, kTargetPosition.z, 1e-3f);
    const float length = std::sqrt(kTargetLook.x * kTargetLook.x + kTargetLook.y * kTargetLook.y +
                                   kTargetLook.z * kTargetLook.z);
    const float* view = Camera().GetViewMatrix().m;
    EXPECT_NEAR(-view[10], kTargetLook.z / length, 1e-3f);
    EXPECT_NEAR(-view[8], kTargetLook.x / length, 1e-3f);
    EXPECT_EQ(screen->GetFlows().Count(), 0u);
}

TEST_F(MenuScreenTest, InputDuringTheGlideIsIgnoredAndAHeldKeyActsOnce)
{
    Launch([](FixtureScreen& s) { s.glide = true; });
    game->Input().SetKey(kDown, true);
    game->RunFrames(10);
    EXPECT_EQ(journal.cursor, 0); // still gliding
    game->Input().SetKey(kDown, false);
    ASSERT_TRUE(game->RunUntil([&] { return Ready(); }, 120));
    game->Input().SetKey(kDown, true);
    game->RunFrames(10);
    EXPECT_EQ(journal.cursor, 1);
    EXPECT_EQ(game->CountPlays("menu_highlight.ogg"), 1);
    game->Input().SetKey(kDown, false);
    game->RunFrames(1);
    game->Input().TapKey(kDown);
    game->RunFrames(1);
    game->Input().TapKey(kDown);
    game->RunFrames(1);
    EXPECT_EQ(journal.cursor, 2); // clamped at the last item
}

TEST_F(MenuScreenTest, PressesInOneFrameActOnceAndTheWalkOrderDecides)
{
    Launch();
    game->Input().SetPadButton(2, kPadA, true);
    game->Input().SetPadButton(1, kPadA, true);
    game->RunFrames(1);
    EXPECT_EQ(journal.activations, std::vector<int>{1});
    game->Input().SetPadButton(1, kPadA, false);
    game->Input().SetPadButton(2, kPadA, false);
    game->RunFrames(1);
    // The keyboard is read in pad 0's pass.
    game->Input().SetPadButton(3, kPadA, true);
    game->Input().TapKey(kEnter);
    game->RunFrames(1);
    EXPECT_EQ(journal.activations, (std::vector<int>{1, 0}));
}

TEST_F(MenuScreenTest, AWalkThatGoesOnStillEndsAtTheHandOver)
{
    FixtureScreen* second = nullptr;
    bool handOver = false;
    Launch([&](FixtureScreen& s) {
        s.walkOn = true;
        s.next = [&]() -> quellor::Action* {
            if (!handOver)
                return nullptr;
            second = new FixtureScreen("Second", &journal);
            second->glide = true;
            return second;
        };
    });
    // Every press found acts.
    game->Input().SetPadButton(1, kPadA, true);
    game->Input().SetPadButton(3, kPadA, true);
    game->RunFrames(1);
    EXPECT_EQ(journal.activations, (std::vector<int>{1, 3}));
    game->Input().SetPadButton(1, kPadA, false);
    game->Input().SetPadButton(3, kPadA, false);
    game->RunFrames(1);
    // Once one has handed over, the others are not read: one successor.
    handOver = true;
    game->Input().SetPadButton(1, kPadA, true);
    game->Input().SetPadButton(3, kPadA, true);
    game->RunFrames(1);
    EXPECT_EQ(journal.activations, (std::vector<int>{1, 3, 1}));
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"Second"});
}

TEST_F(MenuScreenTest, CuesPlayOnGroupZero)
{
    Launch();
    game->Input().TapKey(kDown);
    game->RunFrames(1);
    game->Input().TapKey(kEnter);
    game->RunFrames(1);
    quellor::SoundSystem* sound = screen->GetSound();
    for (const char* cue : {"menu_highlight.ogg", "menu_select.ogg"}) {
        SCOPED_TRACE(cue);
        EXPECT_EQ(game->CountPlays(cue), 1);
        ASSERT_NE(sound->GetChannel(cue, 0), nullptr);
        EXPECT_GE(sound->GetChannel(cue, 0)->channel, 0);
        for (int group = 1; group < quellor::SoundSystem::GroupCount; ++group)
            EXPECT_LT(sound->GetChannel(cue, group)->channel, 0) << group;
    }
}

TEST_F(MenuScreenTest, TheMenuThemeRule)
{
    Launch();
    quellor::SoundSystem* sound = screen->GetSound();
    constexpr int kSongs = quellor::SoundSystem::SongTable;
    sound->PlaySong("theme_gameplay.ogg");
    ASSERT_TRUE(sound->IsPlaying("theme_gameplay.ogg", kSongs));

    quellor::MenuScreen::StartMenuTheme(sound);
    EXPECT_FALSE(sound->IsPlaying("theme_gameplay.ogg", kSongs));
    ASSERT_TRUE(sound->IsPlaying("theme_menu.ogg", kSongs));
    const int channel = sound->GetChannel("theme_menu.ogg", kSongs)->channel;
    const auto& state = game->GetSoundRecord().channels.at(static_cast<std::size_t>(channel));
    EXPECT_EQ(state.loops, -1);
    EXPECT_FLOAT_EQ(state.volume, 0.5f);
    EXPECT_FALSE(state.paused);
    // Already playing: not started again.
    const int plays = game->CountPlays("theme_menu.ogg");
    quellor::MenuScreen::StartMenuTheme(sound);
    EXPECT_EQ(game->CountPlays("theme_menu.ogg"), plays);

    // Muted music: started paused at once.
    sound->StopSong("theme_menu.ogg", kSongs);
    sound->SetMuteMusic(true);
    quellor::MenuScreen::StartMenuTheme(sound);
    const int muted = sound->GetChannel("theme_menu.ogg", kSongs)->channel;
    EXPECT_TRUE(game->GetSoundRecord().channels.at(static_cast<std::size_t>(muted)).paused);
}

TEST_F(MenuScreenTest, AHandOverStartsTheNextScreenInTheSameFrameAfterEnd)
{
    FixtureScreen* second = nullptr;
    Launch([&](FixtureScreen& s) {
        s.makeOverlay = true;
        s.next = [&] {
            // Like the real sub-screens it glides in, so this frame's press is not read again.
            second = new FixtureScreen("Second", &journal);
            second->glide = true;
            return second;
        };
    });
    game->RunFrames(1);
    journal.events.clear();
    // Enter on the keyboard and A on pad 1 together: one successor.
    game->Input().SetPadButton(1, kPadA, true);
    game->Input().TapKey(kEnter);
    game->RunFrames(1);
    EXPECT_EQ(journal.events, (std::vector<std::string>{"First:end", "Second:start", "Second:update"}));
    EXPECT_EQ(journal.activations, std::vector<int>{0});
    EXPECT_EQ(game->RunningScreens(), std::vector<std::string>{"Second"});
    EXPECT_EQ(game->CountPlays("menu_select.ogg"), 1);
    // The first screen's overlay goes at the end of that frame.
    EXPECT_EQ(game->FindEntity("First_overlay"), nullptr);
    ASSERT_NE(second, nullptr);
}

TEST_F(MenuScreenTest, AScreenCancelledMidGlideRemovesItsEntitiesAndItsFlowsEnd)
{
    Launch([](FixtureScreen& s) {
        s.glide = true;
        s.makeOverlay = true;
    });
    game->RunFrames(20);
    ASSERT_NE(game->FindEntity("First_overlay"), nullptr);
    EXPECT_EQ(screen->GetFlows().Count(), 2u);
    const ZOR::float2 area = game->GetGame().GetGraphicsSystem()->GetOrthographicProjectionSize(-1);
    const quellor::Transform2D* placed = game->FindTransform2D("First_overlay");
    EXPECT_FLOAT_EQ(placed->m_x, area.x * 0.5f - 100.0f); // centred
    EXPECT_FLOAT_EQ(placed->m_scaleX, 200.0f);
    EXPECT_LT(placed->m_y, area.y * 0.5f - 50.0f);        // sliding up
    screen->Cancel();
    screen = nullptr; // its list deletes it in the next frame
    EXPECT_EQ(journal.events.back(), "First:end");
    EXPECT_EQ(journal.flowsAtEnd, 0u); // cancelled before End, and before the overlay goes
    // The glide and the slide would go on for seconds; under ASan any write into the deleted
    // screen or the destroyed overlay shows here.
    game->RunFrames(120);
    EXPECT_EQ(game->FindEntity("First_overlay"), nullptr);
    EXPECT_TRUE(game->RunningScreens().empty());
}

TEST_F(MenuScreenTest, LevelEntitiesByNameAndAMissingOneWarnsOnceNamingItAndTheScreen)
{
    tarsel::test::StdoutCapture capture;
    Launch([](FixtureScreen& s) {
        s.level = "FrameFixture.ql";
        s.levelEntities = {"menu_missing", "menu_sign", "menu_missing"};
    });
    game->RunFrames(2);
    const std::string& text = capture.Text();
    EXPECT_EQ(journal.found, std::vector<std::string>{"menu_sign"});
    const std::string warning = "Warning: the level has no entity \"menu_missing\"; First";
    const auto first = text.find(warning);
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_EQ(text.find(warning, first + 1), std::string::npos) << text;
    EXPECT_EQ(text.find("\"menu_sign\";"), std::string::npos) << text;

    // The level's check box took its state from the data.
    auto* box = game->FindEntity("mute_box")->GetComponent<quellor::CheckboxComponent>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->m_checked);
}

TEST(MenuScreenLifecycle, AScreenCancelledBeforeItStartedSkipsItsEnd)
{
    Journal journal;
    {
        // A list that never runs: deleting it cancels the screen it holds.
        quellor::ActionList list(true, true);
        list.PushBack(new FixtureScreen("Waiting", &journal), 0);
    }
    EXPECT_TRUE(journal.events.empty());
}

} // namespace
