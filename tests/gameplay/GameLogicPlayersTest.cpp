// Joining and leaving a match: scores, screens, the player list, the score display and the tag
// tables; players leaving as their entities go.
#include "GameplayTestKit.h"

#include "engine/Engine.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/PlayerDataComponent.h"

namespace quellor::test {
namespace {

using tarsel::test::GameWorld;

class GameLogicPlayers : public tarsel::test::GameWorldTest {
protected:
    GameLogicSystem& Logic() { return *world->logic; }
    unsigned Screens() { return world->graphics->GetActiveScreens(); }
    std::vector<Entity*> Players()
    {
        std::vector<Entity*> players;
        for (const auto& entry : Logic().GetPlayerList())
            players.push_back(entry.Get());
        return players;
    }
    // One score background and text per player index.
    std::vector<Entity*> AddHud(int count)
    {
        std::vector<Entity*> texts;
        for (int i = 0; i < count; ++i) {
            texts.push_back(world->Spawn("text" + std::to_string(i)));
            Logic().AddScoreHud(world->Spawn("background" + std::to_string(i)), texts.back());
        }
        return texts;
    }
};

TEST_F(GameLogicPlayers, AJoinZeroesItsTeamsScoreClearsCameraFreezeAndMakesTheTagTable)
{
    world->JoinPlayer("red0", "red", 0);
    Logic().AddScore("red");
    Logic().AddScore("red");
    EXPECT_EQ(Logic().GetScores().at("red"), 2);
    EXPECT_EQ(Logic().GetTeamTags("blue"), nullptr);

    Entity* second = world->MakePlayer("red1", "red", 1);
    GameWorld::DataOf(second)->m_cameraFreeze = true;
    Logic().AddPlayer(1, second, false, true);
    EXPECT_EQ(Logic().GetScores().at("red"), 0);
    EXPECT_FALSE(GameWorld::DataOf(second)->m_cameraFreeze);
    EXPECT_NE(Logic().GetTeamTags("red"), nullptr);
    EXPECT_EQ(Logic().GetTeamTagCount(), 1u);
    EXPECT_FALSE(Logic().IsScoreTextDirty());
    EXPECT_EQ(Logic().GetPlayerCount(), 2u);
    EXPECT_EQ(Logic().GetPlayer(1), second);
    EXPECT_EQ(Logic().GetPlayer(2), nullptr) << "past the end";
    EXPECT_EQ(Logic().GetPlayer(-1), nullptr);
}

TEST_F(GameLogicPlayers, EachPersonAfterTheFirstAddsAScreenAndComputerPlayersNone)
{
    EXPECT_EQ(Screens(), 1u);
    world->JoinPlayer("bot0", "a", -1);
    EXPECT_EQ(Screens(), 1u);
    world->JoinPlayer("person0", "b", 0);
    EXPECT_EQ(Screens(), 1u) << "the first person takes the screen that always exists";
    world->JoinPlayer("person1", "c", 1);
    EXPECT_EQ(Screens(), 2u);
    world->JoinPlayer("bot1", "d", -1);
    EXPECT_EQ(Screens(), 2u);

    // Only a person's leaving takes a screen away.
    Logic().RemovePlayer(-1, world->engine->GetEntity("bot0", "default"));
    EXPECT_EQ(Screens(), 2u);
    Logic().RemovePlayer(1, world->engine->GetEntity("person1", "default"));
    EXPECT_EQ(Screens(), 1u);
}

TEST_F(GameLogicPlayers, RemovingKeepsTheOrderAndDropsThatPlayersTextFromTheDisplayItDestroys)
{
    Entity* a = world->JoinPlayer("a", "red", 0);
    Entity* b = world->JoinPlayer("b", "blue", 1);
    Entity* c = world->JoinPlayer("c", "green", -1);
    std::vector<Entity*> texts = AddHud(3);

    Logic().RemovePlayer(1, b);
    EXPECT_EQ(Players(), (std::vector<Entity*>{a, c}));
    EXPECT_FALSE(texts[1]->IsDestroyed()) << "its entry is erased, not destroyed";
    EXPECT_TRUE(texts[0]->IsDestroyed());
    EXPECT_TRUE(texts[2]->IsDestroyed());
    EXPECT_TRUE(Logic().GetScoreTexts().empty());
    EXPECT_TRUE(Logic().GetScoreBackgrounds().empty());
    EXPECT_TRUE(Logic().IsScoreTextDirty());
    EXPECT_EQ(Logic().GetTeamTagCount(), 3u);

    // A player that is not listed changes no list.
    Entity* stranger = world->MakePlayer("stranger", "red", 2);
    Logic().RemovePlayer(2, stranger);
    EXPECT_EQ(Players(), (std::vector<Entity*>{a, c}));
}

TEST_F(GameLogicPlayers, TheLastPlayerLeavesTheDisplayStandingAndEmptiesTheTagTables)
{
    Entity* a = world->JoinPlayer("a", "red", 0);
    std::vector<Entity*> texts = AddHud(2);
    Logic().RemovePlayer(0, a);
    EXPECT_EQ(Logic().GetPlayerCount(), 0u);
    EXPECT_FALSE(texts[1]->IsDestroyed());
    EXPECT_EQ(Logic().GetScoreBackgrounds().size(), 2u);
    EXPECT_EQ(Logic().GetTeamTagCount(), 0u);
    Logic().RemovePlayer(0, a); // an empty list: nothing
    EXPECT_EQ(Logic().GetScoreTexts().size(), 1u);
}

TEST_F(GameLogicPlayers, APlayerWhoseEntityIsDestroyedLeavesTheList)
{
    Entity* a = world->JoinPlayer("a", "red", 0);
    Entity* b = world->JoinPlayer("b", "blue", 1);
    AttachSetup(world->logic, a);
    AttachSetup(world->logic, b);
    world->Step();
    a->Destroy();
    world->Step();
    EXPECT_EQ(Players(), (std::vector<Entity*>{b}));
    EXPECT_EQ(Screens(), 1u);
}

TEST_F(GameLogicPlayers, PlayersAndTheirDisplayDyingInOnePassLeaveCleanly)
{
    // The display is made first, so its entities go before the players in the same pass.
    AddHud(3);
    for (const char* name : {"a", "b", "c"}) {
        Entity* player = world->JoinPlayer(name, name, -1);
        AttachSetup(world->logic, player);
    }
    world->Step();
    world->engine->DestroyDefaultEntities();
    world->Step();
    EXPECT_EQ(Logic().GetPlayerCount(), 0u);
    EXPECT_TRUE(Logic().GetScoreTexts().empty());
    EXPECT_EQ(Logic().GetTeamTagCount(), 0u);
}

// The player list's walkers skip an entry whose entity has gone.
TEST_F(GameLogicPlayers, AGoneEntryReadsNull)
{
    Entity* a = world->JoinPlayer("a", "red", 0);
    world->JoinPlayer("b", "blue", 1);
    a->Destroy();
    world->Step(); // no set-up action takes it out of the list
    ASSERT_EQ(Logic().GetPlayerCount(), 2u);
    EXPECT_EQ(Logic().GetPlayer(0), nullptr);
    EXPECT_NE(Logic().GetPlayer(1), nullptr);
    Logic().AddScore("blue");
    for (int i = 0; i < 6; ++i)
        Logic().AddScore("blue");
    world->Step(3); // the win test walks past the gone entry
    EXPECT_EQ(Logic().GetWinner(), Logic().GetPlayer(1));
}

} // namespace
} // namespace quellor::test
