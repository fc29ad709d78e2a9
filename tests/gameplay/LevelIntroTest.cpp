// The level intro in a game world, started as the match start starts it: the intro first in
// the root list, the players joining later in the same frame. While it runs nobody moves or
// acts, one view shows the camera path; its timeline builds the versus screen and the
// countdown and finishes it; at its end (by the timeline, the time bound or a teardown)
// control, cameras and views come back and its pictures go.
#include "MatchCameraKit.h"

#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/FlowTracker.h"
#include "engine/Invoke.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/CameraSystem.h"
#include "gameplay/cameras/LevelIntroCam.h"
#include "tests/support/StdoutCapture.h"

#include <cmath>

namespace quellor::test {
namespace {

using tarsel::test::GameWorld;
using tarsel::test::GameWorldTest;

constexpr float kDt = 1.0f / 64.0f;
constexpr int kSongs = SoundSystem::SongTable;

struct Spawn {
    std::string team;
    float x, y, z;
};
const Spawn kSpawns[] = {{"red", 10.0f, 0.0f, 0.0f}, {"purple", -10.0f, 2.0f, 5.0f}};

class LevelIntroTest : public GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        WriteReticleArchetypes(*world);
        for (const char* effect : {"swoosh_75.ogg", "countdown_beep.ogg", "countdown_beep_final.ogg"})
            world->LoadEffect(effect);
        for (const char* song : {"theme_menu.ogg", "theme_gameplay.ogg"})
            world->sound->LoadSound(std::string("music/") + song);
        for (const Spawn& spawn : kSpawns)
            world->AddSpawnPoint(spawn.team + "Spawn", spawn.team, spawn.x, spawn.y, spawn.z);
    }

    // Two people and two computer players in two teams, spread away from their spawn points.
    void MakeMatch()
    {
        people = {MakePerson(*world, "p0", "red", 0, 1.0f, 0.0f, 1.0f),
                  MakePerson(*world, "p1", "purple", 1, 2.0f, 0.0f, 2.0f)};
        bots = {MakeBot(*world, "b0", "red", 3.0f, 0.0f, 3.0f), MakeBot(*world, "b1", "purple", 4.0f, 0.0f, 4.0f)};
    }

    // The intro in lane 0 of the root list, the joins behind it in lane 1: one walk starts both.
    LevelIntroCam* StartIntro(std::vector<IntroPlayerEntry> entries, float bound = LevelIntroCam::kTimeBound)
    {
        auto* intro = new LevelIntroCam(std::move(entries), bound);
        flows.Track(intro);
        world->actions->AddAction(intro, 0);
        world->actions->AddAction(new Invoke([this] {
                                      for (Entity* person : people)
                                          world->logic->AddPlayer(GameWorld::DataOf(person)->controllerID, person,
                                                                  false, true);
                                      for (Entity* bot : bots)
                                          world->logic->AddPlayer(-1, bot, true, true);
                                  }),
                                  1);
        return intro;
    }
    bool IntroRunning(const LevelIntroCam* intro) const { return flows.IsTracking(intro); }

    std::vector<Entity*> Players() const
    {
        std::vector<Entity*> all = people;
        all.insert(all.end(), bots.begin(), bots.end());
        return all;
    }

    // What holds on every frame of the intro after the players joined.
    void ExpectHeld(int frame)
    {
        SCOPED_TRACE(frame);
        EXPECT_EQ(world->graphics->GetActiveScreens(), 1u);
        EXPECT_FALSE(world->logic->m_active);
        EXPECT_FALSE(world->cameras->IsAutomatedCameraDisabled());
        for (Entity* player : Players()) {
            EXPECT_FALSE(GameWorld::DataOf(player)->canControl) << player->GetName();
            if (auto* camera = player->GetComponent<ThirdPersonCameraComponent>()) {
                EXPECT_FALSE(camera->IsEnabled());
                EXPECT_EQ(camera->GetReticle(), nullptr);
            }
            // On the team's spawn point, raised by the radius; one frame of fall at most.
            const Spawn& spawn = kSpawns[GameWorld::DataOf(player)->playerTeam == "red" ? 0 : 1];
            const Vec4 at = player->GetComponent<Transform3D>()->GetPosition();
            EXPECT_NEAR(at.x, spawn.x, 1e-4f) << player->GetName();
            EXPECT_NEAR(at.z, spawn.z, 1e-4f) << player->GetName();
            EXPECT_NEAR(at.y, spawn.y + 1.0f, 0.01f) << player->GetName();
        }
    }

    // What holds once the intro has ended, however it ended.
    void ExpectReleased(const std::vector<EntityRef>& pictures)
    {
        EXPECT_TRUE(world->logic->m_active);
        EXPECT_TRUE(world->cameras->IsAutomatedCameraDisabled());
        EXPECT_EQ(world->graphics->GetActiveScreens(), 2u) << "one view per person";
        for (Entity* player : Players())
            EXPECT_TRUE(GameWorld::DataOf(player)->canControl) << player->GetName();
        for (Entity* person : people) {
            auto* camera = person->GetComponent<ThirdPersonCameraComponent>();
            EXPECT_TRUE(camera->IsEnabled());
            EXPECT_NE(camera->GetReticle(), nullptr) << "the enabled camera builds its reticle again";
        }
        for (const EntityRef& picture : pictures)
            EXPECT_EQ(picture.Get(), nullptr);
    }

    void ExpectGameplayTheme()
    {
        EXPECT_FALSE(world->sound->IsPlaying("theme_menu.ogg", kSongs));
        ASSERT_TRUE(world->sound->IsPlaying("theme_gameplay.ogg", kSongs));
        SoundSystem::Channel* channel = world->sound->GetChannel("theme_gameplay.ogg", kSongs);
        ASSERT_NE(channel, nullptr);
        EXPECT_FLOAT_EQ(channel->volume, 0.5f);
        const auto& state = world->audio->channels.at(static_cast<std::size_t>(channel->channel));
        EXPECT_EQ(state.loops, -1);
        EXPECT_FLOAT_EQ(state.volume, 0.5f);
    }

    std::vector<Entity*> people;
    std::vector<Entity*> bots;
    FlowTracker flows;
};

const FlowTracker* g_timelineWatch = nullptr;
bool g_timelineRunningAfterEnd = false;
void NoteTimelineAtEnd()
{
    g_timelineRunningAfterEnd = g_timelineWatch->Count() > 0;
}

const std::vector<IntroPlayerEntry> kFourInTwoTeams{{0, "red"}, {1, "purple"}, {-1, "red"}, {-1, "purple"}};

TEST_F(LevelIntroTest, TheMatchHoldsStillOnOneViewUntilTheTimelineFinishesItNearNineSeconds)
{
    world->sound->SetLooping("theme_menu.ogg", true, kSongs);
    world->sound->PlaySong("theme_menu.ogg");
    MakeMatch();
    world->logic->m_scoreHudRequested = true;
    LevelIntroCam* intro = StartIntro(kFourInTwoTeams);
    world->StepDt(kDt);
    EXPECT_FALSE(world->logic->m_active);
    EXPECT_FALSE(world->logic->m_scoreHudRequested);
    EXPECT_FALSE(world->cameras->IsAutomatedCameraDisabled()) << "the path plays from the start";
    ExpectGameplayTheme();
    ASSERT_NE(intro->GetTimeline(), nullptr);
    const std::vector<EntityRef> pictures = intro->GetIntroEntities();
    EXPECT_EQ(pictures.size(), 1u + 4u * 3u + 5u);

    int frame = 1;
    while (IntroRunning(intro) && frame < 20 * 64) {
        world->StepDt(kDt);
        ++frame;
        if (IntroRunning(intro))
            ExpectHeld(frame);
        if (HasFailure())
            return;
    }
    // 0.3 s a column, 1.25 s a versus sign, 2 s still, 3.5 s of countdown. Each of the 21
    // timed steps (waits and tweens) may end a frame early or late: a step is updated in the
    // frame it starts.
    const float ended = static_cast<float>(frame) * kDt;
    EXPECT_NEAR(ended, 8.95f, 21.0f * kDt);
    EXPECT_TRUE(world->logic->m_scoreHudRequested);
    EXPECT_EQ(world->PlayCount("countdown_beep.ogg"), 3u);
    EXPECT_EQ(world->PlayCount("countdown_beep_final.ogg"), 1u);
    EXPECT_EQ(world->PlayCount("swoosh_75.ogg"), 1u);
    world->StepDt(kDt);
    ExpectReleased(pictures);
    ExpectGameplayTheme();
}

TEST_F(LevelIntroTest, EntriesInAnyOrderAreGroupedByTeamNameWithASignBetweenTeams)
{
    MakeMatch();
    LevelIntroCam* intro =
        StartIntro({{-1, "red"}, {2, "purple"}, {0, "red"}, {-1, "green"}, {1, "purple"}, {3, "red"}});
    const std::vector<std::pair<int, std::string>> sorted{{-1, "green"}, {2, "purple"}, {1, "purple"},
                                                          {-1, "red"},   {0, "red"},    {3, "red"}};
    ASSERT_EQ(intro->GetEntries().size(), sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        EXPECT_EQ(intro->GetEntries()[i].slot, sorted[i].first) << i;
        EXPECT_EQ(intro->GetEntries()[i].team, sorted[i].second) << i;
    }
    world->StepDt(kDt);

    // The layout is drawn for 1080 lines and scaled by the 2D height; columns and signs stand
    // 150·s apart from W/8, a third of the way down.
    const ZOR::float2 area = world->graphics->GetOrthographicProjectionSize(-1);
    const float s = area.y * 0.0009259259f;
    const float x0 = area.x * 0.125f;
    const float y = area.y * 0.33333334f;
    const std::vector<EntityRef>& pictures = intro->GetIntroEntities();
    const std::vector<std::string> materials{
        "green_portrait_bg.mat", "ai_portrait_bg.mat", "green_boid.mat",
        "versus.mat",
        "purple_portrait_bg.mat", "p3_portrait_bg.mat", "purple_boid.mat",
        "purple_portrait_bg.mat", "p2_portrait_bg.mat", "purple_boid.mat",
        "versus.mat",
        "red_portrait_bg.mat", "ai_portrait_bg.mat", "red_boid.mat",
        "red_portrait_bg.mat", "p1_portrait_bg.mat", "red_boid.mat",
        "red_portrait_bg.mat", "p4_portrait_bg.mat", "red_boid.mat",
        "countdown_bg.mat", "countdown_three.mat", "countdown_two.mat", "countdown_one.mat", "countdown_fight.mat"};
    ASSERT_EQ(pictures.size(), materials.size());
    const std::vector<float> columnX{x0, x0 + 300.0f * s, x0 + 450.0f * s, x0 + 750.0f * s, x0 + 900.0f * s,
                                     x0 + 1050.0f * s};
    const std::vector<float> signX{x0 + 150.0f * s, x0 + 600.0f * s};
    std::size_t column = 0;
    std::size_t sign = 0;
    // Each column's label and boid, the signs and the countdown's numbers lie on a layer above
    // the backgrounds, whatever the materials.
    unsigned backgroundLayer = 0;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        SCOPED_TRACE(i);
        Entity* picture = pictures[i].Get();
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(SpriteOf(picture)->m_materialName, materials[i]);
        const Transform2D* place = PlaceOf(picture);
        if (materials[i] == "versus.mat") {
            EXPECT_EQ(picture->GetName().rfind("versus", 0), 0u);
            EXPECT_FLOAT_EQ(place->m_x, signX[sign++]);
            EXPECT_FLOAT_EQ(place->m_y, y);
            EXPECT_GT(SpriteOf(picture)->GetZLayer(), backgroundLayer);
        } else if (materials[i].ends_with("_boid.mat")) {
            EXPECT_EQ(picture->GetName().rfind("boid", 0), 0u);
            EXPECT_FLOAT_EQ(place->m_x, columnX[column++] + 90.0f * s);
            EXPECT_FLOAT_EQ(place->m_scaleY, 80.0f * s);
            EXPECT_GT(SpriteOf(picture)->GetZLayer(), backgroundLayer);
        } else if (materials[i].starts_with("countdown")) {
            EXPECT_EQ(picture->GetName().rfind("countdown", 0), 0u);
            EXPECT_FLOAT_EQ(place->m_x, area.x);
            // The numbers slide over the countdown's background, which stays.
            if (materials[i] == "countdown_bg.mat")
                backgroundLayer = SpriteOf(picture)->GetZLayer();
            else
                EXPECT_GT(SpriteOf(picture)->GetZLayer(), backgroundLayer);
            EXPECT_FLOAT_EQ(place->m_scaleX, area.x);
            EXPECT_FLOAT_EQ(place->m_scaleY, area.y);
        } else {
            EXPECT_EQ(picture->GetName().rfind("portrait", 0), 0u);
            EXPECT_FLOAT_EQ(place->m_x, columnX[column]);
            EXPECT_FLOAT_EQ(place->m_scaleY, 256.0f * s);
            if (materials[i + 1].ends_with("_portrait_bg.mat"))
                backgroundLayer = SpriteOf(picture)->GetZLayer();
            else
                EXPECT_GT(SpriteOf(picture)->GetZLayer(), backgroundLayer);
        }
    }
    // The columns drop in 0.3 s apart; the signs sweep in after 0.75 s, one swoosh each.
    for (int frame = 0; frame < 5 * 64; ++frame)
        world->StepDt(kDt);
    EXPECT_EQ(world->PlayCount("swoosh_75.ogg"), 2u);
    for (std::size_t i = 0; i < 20; ++i) {
        const Transform2D* place = PlaceOf(pictures[i].Get());
        if (SpriteOf(pictures[i].Get())->m_materialName == "versus.mat")
            EXPECT_NEAR(place->m_scaleX, 256.0f * s, 1e-3f) << i;
        else if (SpriteOf(pictures[i].Get())->m_materialName.ends_with("_boid.mat"))
            EXPECT_NEAR(place->m_y, y + 80.0f * s, 1e-3f) << i;
        else
            EXPECT_NEAR(place->m_y, y, 1e-3f) << i;
    }
}

TEST_F(LevelIntroTest, OneTeamGivesNoSignNoSwooshAndSlotFourALabelWithTheDefaultMaterial)
{
    people = {MakePerson(*world, "p0", "red", 0)};
    bots = {MakeBot(*world, "b0", "red")};
    Entity* bare = world->Spawn("bare");
    bare->AddComponent<Transform2D>(true);
    const ZOR::Material* defaultMaterial = bare->AddComponent<GraphicsComponent2D>(true)->GetMaterial();

    LevelIntroCam* intro = StartIntro({{4, "red"}, {-1, "red"}});
    world->StepDt(kDt);
    EXPECT_TRUE(PicturesWith(*world, "versus.mat").empty());
    const std::vector<Entity*> unnamed = PicturesWith(*world, "");
    ASSERT_EQ(unnamed.size(), 2u) << "the bare sprite and the label of slot 4";
    EXPECT_EQ(unnamed[1]->GetName().rfind("portrait", 0), 0u);
    EXPECT_EQ(SpriteOf(unnamed[1])->GetMaterial(), defaultMaterial);
    EXPECT_EQ(PicturesWith(*world, "ai_portrait_bg.mat").size(), 1u);

    while (IntroRunning(intro))
        world->StepDt(kDt);
    EXPECT_EQ(world->PlayCount("swoosh_75.ogg"), 0u);
    EXPECT_EQ(world->PlayCount("countdown_beep_final.ogg"), 1u);
}

TEST_F(LevelIntroTest, ATeamWithoutPicturesIsReportedOnceAndItsColumnStillBuilt)
{
    MakeMatch();
    std::string text;
    {
        tarsel::test::StdoutCapture capture;
        StartIntro({{0, "blue"}, {1, "blue"}, {-1, "red"}});
        world->StepDt(kDt);
        text = capture.Text();
    }
    std::size_t lines = 0;
    for (std::size_t at = text.find("LevelIntroCam"); at != std::string::npos; at = text.find("LevelIntroCam", at + 1))
        ++lines;
    EXPECT_EQ(lines, 1u) << text;
    EXPECT_NE(text.find("\"blue\""), std::string::npos) << text;
    EXPECT_EQ(PicturesWith(*world, "blue_portrait_bg.mat").size(), 2u);
    EXPECT_EQ(PicturesWith(*world, "blue_boid.mat").size(), 2u);
}

TEST_F(LevelIntroTest, TheBoundEndsItEarlyRestoresEverythingAndCancelsTheTimeline)
{
    MakeMatch();
    LevelIntroCam* intro = StartIntro(kFourInTwoTeams, 1.0f);
    world->StepDt(kDt);
    const std::vector<EntityRef> pictures = intro->GetIntroEntities();
    ActionList* timeline = intro->GetTimeline();
    ASSERT_NE(timeline, nullptr);
    FlowTracker timelineWatch;
    timelineWatch.Track(timeline);
    // Connected after the intro's own handler: the timeline is gone by the time this runs.
    g_timelineWatch = &timelineWatch;
    g_timelineRunningAfterEnd = true;
    intro->m_onEnded.Connect(MakeDelegate(&NoteTimelineAtEnd), 0);

    int frames = 1;
    while (IntroRunning(intro) && frames < 200) {
        world->StepDt(kDt);
        ++frames;
    }
    // The bound counts down from the start frame and finishes on the update after it ran out.
    EXPECT_EQ(frames, 65);
    EXPECT_FALSE(g_timelineRunningAfterEnd) << "the intro's end cancels the timeline";
    EXPECT_EQ(world->PlayCount("countdown_beep.ogg"), 0u);
    world->StepDt(kDt);
    ExpectReleased(pictures);
    // Nothing of the timeline is left to write into the pictures or finish the intro again.
    for (int frame = 0; frame < 10 * 64; ++frame)
        world->StepDt(kDt);
    EXPECT_EQ(world->PlayCount("countdown_beep_final.ogg"), 0u);
    EXPECT_EQ(world->graphics->GetActiveScreens(), 2u);
}

TEST_F(LevelIntroTest, TearingTheEngineDownMidIntroIsClean)
{
    MakeMatch();
    LevelIntroCam* intro = StartIntro(kFourInTwoTeams);
    for (int frame = 0; frame < 3 * 64; ++frame)
        world->StepDt(kDt);
    ASSERT_TRUE(IntroRunning(intro));
    ASSERT_NE(intro->GetTimeline(), nullptr);
    world.reset();
    EXPECT_FALSE(IntroRunning(intro));
}

TEST_F(LevelIntroTest, NoEntriesStillCountDownAndEndWithTheGameplayTheme)
{
    LevelIntroCam* intro = StartIntro({});
    world->StepDt(kDt);
    EXPECT_EQ(intro->GetIntroEntities().size(), 5u) << "the countdown only";
    EXPECT_TRUE(PicturesWith(*world, "versus.mat").empty());
    ExpectGameplayTheme();
    int frame = 1;
    while (IntroRunning(intro) && frame < 20 * 64) {
        world->StepDt(kDt);
        ++frame;
    }
    // 2 s still, then 0.75 + 3 × 1.0 + 0.75 s of countdown in 14 timed steps.
    const float ended = static_cast<float>(frame) * kDt;
    EXPECT_NEAR(ended, 6.5f, 14.0f * kDt);
    EXPECT_EQ(world->PlayCount("countdown_beep.ogg"), 3u);
    EXPECT_TRUE(world->logic->m_active);
    EXPECT_EQ(world->graphics->GetActiveScreens(), 1u);
}

} // namespace
} // namespace quellor::test
