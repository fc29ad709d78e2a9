// S6: the main road, from the main menu through character select into a match on "Beta.ql":
// one person on the keyboard (orange) against three computer players (red).
#include "engine/Entity.h"
#include "engine/SoundSystem.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "tests/e2e/Scenario.h"

namespace tarsel::test {
namespace {

class MatchScenario : public Scenario {
protected:
    void SetUp() override
    {
        if (!MatchContentBuilt())
            GTEST_SKIP() << "the built content has no \"Beta.ql\" or menu level yet";
    }
};

TEST_F(MatchScenario, S6TheMainRoadIntoAMatch)
{
    FlowSetup setup = ContentSetup();
    setup.drawEvery = 30;
    Boot(std::move(setup));
    StartMatch();
    // The fade falls; "default" is emptied before the level comes.
    bool levelSeen = false;
    ASSERT_TRUE(game->RunUntil([&] {
        bool gone = true;
        for (const quellor::EntityRef& entity : menuEntities)
            gone = gone && entity.Get() == nullptr;
        levelSeen = levelSeen || game->FindEntity("redSpawn") != nullptr;
        return gone;
    }, 60));
    EXPECT_FALSE(levelSeen);
    auto introRuns = [&] { return IntroRuns(); };
    ASSERT_TRUE(game->RunUntil(introRuns, 10));
    const std::uint32_t start = game->GetGame().GetFrameCount();
    auto players = [&] { return MatchPlayers(); };
    ASSERT_TRUE(game->RunUntil([&] { return players().size() == 4; }, 10));
    int people = 0;
    for (quellor::Entity* player : players()) {
        auto* data = player->GetComponent<quellor::PlayerDataComponent>();
        if (data->controllerID == 0) {
            ++people;
            EXPECT_EQ(data->playerTeam, "orange");
        } else {
            EXPECT_EQ(data->controllerID, -1);
            EXPECT_EQ(data->playerTeam, "red");
        }
    }
    EXPECT_EQ(people, 1);
    EXPECT_EQ(game->GetScreenCount(), 1u);

    // After the intro (8.95 s) everyone may move and the match runs.
    ASSERT_TRUE(game->RunUntil([&] { return !introRuns(); }, 12 * 60));
    // The intro's length as it ran (the road's 8.95 s is counted from the start press).
    RecordProperty("intro_frames", static_cast<int>(game->GetGame().GetFrameCount() - start));
    for (quellor::Entity* player : players())
        EXPECT_TRUE(player->GetComponent<quellor::PlayerDataComponent>()->GetControlable()) << player->GetName();
    EXPECT_TRUE(game->GetGameLogic()->m_active);
    quellor::SoundSystem* sound = game->GetGame().GetSoundSystem();
    if (ContentHasFile("theme_gameplay.ogg")) {
        EXPECT_TRUE(sound->IsPlaying("theme_gameplay.ogg", quellor::SoundSystem::SongTable));
        EXPECT_FALSE(sound->IsPlaying("theme_menu.ogg", quellor::SoundSystem::SongTable));
    }
    Shot("s6_match");
}

} // namespace
} // namespace tarsel::test
