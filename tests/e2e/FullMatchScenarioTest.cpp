// S13: a whole match. S6's road into "Beta.ql", then a person on a fixed script against the three
// computer players until a team has 5 points; the win camera, the space emptied and the main
// menu back; then a second match from that menu through its intro and 30 s of play.
// Its own CTest entry (tests/e2e/CMakeLists.txt): it outlasts the discovered tests' limit.
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/SoundSystem.h"
#include "engine/Space.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "gameplay/cameras/WinCam.h"
#include "physics/RigidBodyComponent3D.h"
#include "platform/ScriptedInputSource.h"
#include "tests/e2e/Scenario.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace tarsel::test {
namespace {

// 20 minutes of play at 60 frames a second.
constexpr std::uint32_t kMatchFrameCap = 72000;
constexpr std::uint32_t kSecond = 60;
constexpr float kWinShotFrames = quellor::GameLogicSystem::kWinShotSeconds * kSecond;

// The keys the person plays with.
constexpr int kW = 87;
constexpr int kLeftShift = 160;
constexpr int kMouseRight = 2;
constexpr int kQ = 81;
constexpr int kPlayKeys[] = {kW, kLeft, kLeftShift, kMouseRight, kQ};

// The person, a function of the frames since play began: walks a small square loop (0.75 s
// ahead, then a quarter turn on the spot), jumps every 4 s, charges a full shot for 1 s and lets
// it go every 3 s, and taps a quick shot in between.
void Play(platform::ScriptedInputSource& input, std::uint32_t f)
{
    const bool walking = f % 93 < 45;
    input.SetKey(kW, walking);
    input.SetKey(kLeft, !walking);
    input.SetKey(kLeftShift, f % 240 == 120);
    input.SetKey(kMouseRight, f % 180 < 60);
    input.SetKey(kQ, f % 180 == 120);
}

void LetGo(platform::ScriptedInputSource& input)
{
    for (int key : kPlayKeys)
        input.SetKey(key, false);
}

std::string TeamOf(const quellor::Entity* player)
{
    const auto* data = player && !player->IsDestroyed() ? player->GetComponent<quellor::PlayerDataComponent>() : nullptr;
    return data ? data->playerTeam : std::string();
}

// The match's deaths and points as seen between frames. A death is a player's dying flag
// rising; each point must pay off an earlier death whose last hitter is of the scoring team.
class PointLedger {
public:
    void Look(const std::vector<quellor::Entity*>& players, const std::map<std::string, int>& scores,
              std::uint32_t frame)
    {
        for (quellor::Entity* player : players) {
            const auto* data = player ? player->GetComponent<quellor::PlayerDataComponent>() : nullptr;
            if (!data)
                continue;
            bool& was = m_dying[player->GetName()];
            if (data->m_dying && !was) {
                ++deaths;
                if (const std::string team = TeamOf(data->GetLastHitter()); !team.empty())
                    m_unpaid.push_back(team);
            }
            was = data->m_dying;
        }
        // The win camera clears the scores: a fall is no point.
        for (const auto& [team, score] : scores) {
            int& seen = m_scores[team];
            for (; seen < score; ++seen) {
                ++points;
                best = std::max(best, seen + 1);
                lastPointFrame = frame;
                auto death = std::find(m_unpaid.begin(), m_unpaid.end(), team);
                if (death == m_unpaid.end()) {
                    faults.push_back("frame " + std::to_string(frame) + ": a point for " + team +
                                     " without a death its hitter caused");
                    continue;
                }
                m_unpaid.erase(death);
            }
        }
    }

    int deaths = 0;
    int points = 0;
    int best = 0;
    std::uint32_t lastPointFrame = 0;
    std::vector<std::string> faults;

private:
    std::map<std::string, bool> m_dying;
    std::map<std::string, int> m_scores;
    std::vector<std::string> m_unpaid; // the hitters' teams of deaths not yet paid
};

class FullMatchScenario : public Scenario {
protected:
    void SetUp() override
    {
        if (!MatchContentBuilt())
            GTEST_SKIP() << "the built content has no \"Beta.ql\" or menu level yet";
    }

    // The frame the person's script counts from; 0 while nobody plays.
    std::uint32_t playFrom = 0;
    bool watching = false;
    PointLedger ledger;

    FlowSetup MatchSetup()
    {
        FlowSetup setup = ContentSetup();
        setup.config = ConfigSeed::TestLow;
        setup.drawEvery = 30;
        setup.person = [this](FlowGame& flow, std::uint32_t frame) {
            if (watching)
                ledger.Look(flow.Players(), flow.Scores(), frame);
            if (playFrom != 0)
                Play(flow.Input(), frame - playFrom);
        };
        return setup;
    }

    void StopPlaying()
    {
        playFrom = 0;
        LetGo(game->Input());
    }

    // From the start press: the intro runs, its first second drawn frame by frame, then the
    // match hands over to the players; the frame play began.
    std::uint32_t RunIntro()
    {
        EXPECT_TRUE(game->RunUntil([&] { return IntroRuns(); }, 120));
        game->SetDrawEvery(1);
        game->RunFrames(kSecond);
        game->SetDrawEvery(30);
        EXPECT_EQ(game->Players().size(), 4u);
        EXPECT_TRUE(game->RunUntil([&] { return !IntroRuns(); }, 12 * kSecond));
        return game->GetGame().GetFrameCount();
    }

    quellor::WinCam* FindWinCam()
    {
        quellor::WinCam* found = nullptr;
        game->GetGame().GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
            if (auto* camera = dynamic_cast<const quellor::WinCam*>(&action); camera && !action.IsFinished())
                found = const_cast<quellor::WinCam*>(camera);
        });
        return found;
    }

    // The 2D pictures of "default" showing that material.
    int CountPictures(const std::string& material) const
    {
        int count = 0;
        for (quellor::Entity* entity : game->FindEntitiesWithPrefix(""))
            if (auto* picture = entity->GetComponent<quellor::GraphicsComponent2D>();
                picture && !entity->IsDestroyed() && picture->m_materialName == material)
                ++count;
        return count;
    }

    void ExpectPersonShowsItsBackToItsCamera()
    {
        int people = 0;
        for (quellor::Entity* player : game->Players()) {
            auto* camera = player->GetComponent<quellor::ThirdPersonCameraComponent>();
            if (!camera)
                continue;
            ++people;
            const quellor::Vec4 forward = player->GetComponent<quellor::RigidBodyComponent3D>()->GetForward();
            const quellor::Vec4 view = camera->GetForward();
            const float faces = -(forward.x * view.x + forward.z * view.z) / std::hypot(view.x, view.z);
            EXPECT_GT(faces, 0.9f) << player->GetName() << " does not run away from its camera";
        }
        EXPECT_EQ(people, 1);
    }

    bool Playing(const std::string& song)
    {
        return !ContentHasFile(song) ||
               game->GetGame().GetSoundSystem()->IsPlaying(song, quellor::SoundSystem::SongTable);
    }
};

TEST_F(FullMatchScenario, S13AMatchToAWinnerBackToTheMenuAndTheNextMatch)
{
    Boot(MatchSetup());
    StartMatch();
    playFrom = RunIntro();
    ASSERT_NE(playFrom, 0u);
    const std::uint32_t matchStart = playFrom;
    watching = true;
    // Half a second into the walk ahead: the person runs away from its own camera, so it faces
    // (its +z, the forward axis negated) along the camera's view and shows its back.
    game->RunFrames(kSecond / 2);
    ExpectPersonShowsItsBackToItsCamera();
    game->RunFrames(kSecond / 2);
    Shot("s13_match");

    // Play until the end sounds.
    ASSERT_TRUE(game->RunUntil([&] { return game->CountPlays("game_over.ogg") > 0; }, kMatchFrameCap))
        << "scores after " << kMatchFrameCap << " frames of play";
    const std::uint32_t matchFrames = game->GetGame().GetFrameCount() - matchStart;
    // The winning point came in the frame that ended the match.
    ledger.Look(game->Players(), game->Scores(), game->GetGame().GetFrameCount());
    StopPlaying();
    watching = false;
    RecordProperty("match_frames", static_cast<int>(matchFrames));
    std::printf("S13: the match took %u frames; %d deaths, %d points\n", static_cast<unsigned>(matchFrames),
                ledger.deaths, ledger.points);
    EXPECT_EQ(ledger.best, quellor::GameLogicSystem::kWinningScore);
    EXPECT_GE(ledger.deaths, ledger.points);
    for (const std::string& fault : ledger.faults)
        ADD_FAILURE() << fault;
    EXPECT_EQ(game->CountPlays("game_over.ogg"), 1);

    // The win camera: the winner's banner and a badge for each player of its team, for 10 s.
    quellor::Entity* winner = game->GetGameLogic()->GetWinner();
    ASSERT_NE(winner, nullptr);
    const std::string team = TeamOf(winner);
    game->SetDrawEvery(1);
    ASSERT_TRUE(game->RunUntil([&] { return FindWinCam() != nullptr && FindWinCam()->IsStarted(); }, 3));
    const std::uint32_t winStart = game->GetGame().GetFrameCount();
    quellor::WinCam* camera = FindWinCam();
    ASSERT_NE(camera->GetBanner(), nullptr);
    EXPECT_EQ(game->FindMaterial(camera->GetBanner()->GetName()), quellor::WinCam::BannerMaterial(team));
    std::map<std::string, int> badges;
    std::vector<quellor::EntityRef> matchEntities;
    for (quellor::Entity* player : game->Players())
        if (TeamOf(player) == team)
            ++badges[quellor::WinCam::BadgeMaterial(player->GetComponent<quellor::PlayerDataComponent>()->controllerID)];
    for (const auto& [material, count] : badges)
        EXPECT_EQ(CountPictures(material), count) << material;
    for (quellor::Entity* entity : game->FindEntitiesWithPrefix(""))
        matchEntities.emplace_back(entity);
    EXPECT_EQ(game->GetScreenCount(), 1u);
    EXPECT_FALSE(game->GetGameLogic()->m_winEnabled);
    game->RunFrames(5 * kSecond);
    Shot("s13_win");

    // Then "default" is emptied, three frames pass and the main menu comes.
    auto emptied = [&] {
        for (const quellor::EntityRef& entity : matchEntities)
            if (entity.Get())
                return false;
        return true;
    };
    ASSERT_TRUE(game->RunUntil(emptied, 6 * kSecond));
    const std::uint32_t winFrames = game->GetGame().GetFrameCount() - winStart;
    EXPECT_GE(winFrames, kWinShotFrames - 2);
    EXPECT_LE(winFrames, kWinShotFrames + 3);
    EXPECT_EQ(FindWinCam(), nullptr);
    EXPECT_TRUE(game->RunningScreens().empty());
    game->RunFrames(2);
    EXPECT_EQ(game->FindScreen("MainMenu"), nullptr) << "the menu came within three frames";
    game->SetDrawEvery(30);
    ASSERT_NE(WaitForScreen("MainMenu", 30 * kSecond), nullptr);
    EXPECT_NE(game->FindEntity("cursor"), nullptr);
    EXPECT_TRUE(game->Players().empty());
    EXPECT_EQ(game->GetScreenCount(), 1u);
    EXPECT_TRUE(game->GetGameLogic()->m_winEnabled);
    for (const auto& [name, score] : game->Scores())
        EXPECT_EQ(score, 0) << name;
    EXPECT_TRUE(Playing("theme_menu.ogg"));
    EXPECT_FALSE(game->GetGame().GetSoundSystem()->IsPlaying("theme_gameplay.ogg", quellor::SoundSystem::SongTable));
    EXPECT_TRUE(emptied());
    Shot("s13_menu_after_match");

    // The next match from that menu: its intro, then 30 s of play.
    StartMatch();
    playFrom = RunIntro();
    ASSERT_NE(playFrom, 0u);
    ASSERT_EQ(game->Players().size(), 4u);
    game->RunFrames(30 * kSecond);
    StopPlaying();
    EXPECT_TRUE(game->GetGameLogic()->m_active);
    EXPECT_EQ(game->Players().size(), 4u);
    for (quellor::Entity* player : game->Players())
        EXPECT_NE(player, nullptr);
    EXPECT_TRUE(Playing("theme_gameplay.ogg"));
    Shot("s13_second_match");
}

} // namespace
} // namespace tarsel::test
