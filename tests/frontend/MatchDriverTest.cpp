// The long runs' match driver on the built content: players spawned straight onto "Beta.ql",
// the scripted people, the held win, the pause menu cycle and the census.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "tests/support/ContentDir.h"
#include "tests/support/flow/MatchDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using tarsel::test::FlowGame;
using tarsel::test::MatchDriver;

class MatchDriverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(tarsel::test::ContentDir() / "levels" / "Beta.ql"))
            GTEST_SKIP() << "the built content has no \"Beta.ql\" yet";
        tarsel::test::FlowSetup setup = MatchDriver::DirectSetup();
        setup.drawEvery = 30;
        game.emplace(std::move(setup));
        match.emplace(*game);
        ASSERT_TRUE(match->Boot());
    }

    std::optional<FlowGame> game;
    std::optional<MatchDriver> match;
};

float Distance(const quellor::Vec4& a, const quellor::Vec4& b)
{
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.z - b.z) * (a.z - b.z));
}

TEST_F(MatchDriverTest, FourPeopleOnPadsWalkTheirScriptWithTheWinHeldAndThePauseMenuCycled)
{
    ASSERT_TRUE(match->Start(MatchDriver::FourPeople(game->GetGame())));
    const std::vector<quellor::Entity*> players = game->Players();
    ASSERT_EQ(players.size(), 4u);
    EXPECT_EQ(game->GetScreenCount(), 4u);
    std::vector<quellor::Vec4> starts;
    for (std::size_t i = 0; i < players.size(); ++i) {
        auto* data = players[i]->GetComponent<quellor::PlayerDataComponent>();
        EXPECT_EQ(data->controllerID, static_cast<int>(i));
        EXPECT_TRUE(data->GetControlable());
        starts.push_back(players[i]->GetComponent<quellor::Transform3D>()->GetPosition());
    }

    match->SetPeople({0, 1, 2, 3}, false);
    match->SetWinHeld(true);
    for (int i = 0; i < 90; ++i)
        ASSERT_TRUE(match->Frame());
    quellor::GameLogicSystem* logic = game->GetGameLogic();
    EXPECT_FALSE(logic->m_winEnabled);
    // Each stick pushes forward from the first frame: everyone has walked off the spawn.
    for (std::size_t i = 0; i < players.size(); ++i)
        EXPECT_GT(Distance(players[i]->GetComponent<quellor::Transform3D>()->GetPosition(), starts[i]), 1.0f)
            << players[i]->GetName();

    // Within a lap of the script everyone has charged and fired (an orb flies a few frames).
    std::size_t orbs = 0;
    for (int i = 90; i < 540; ++i) {
        ASSERT_TRUE(match->Frame());
        orbs = std::max(orbs, match->Count().orbs);
    }
    EXPECT_GT(orbs, 0u);

    ASSERT_TRUE(match->CyclePauseMenu());
    EXPECT_FALSE(logic->m_paused);
    EXPECT_EQ(game->FindScreen("PauseMenu"), nullptr);
    EXPECT_TRUE(game->IsSystemActive("GameLogicSystem"));
}

TEST_F(MatchDriverTest, TheCensusCountsEntitiesComponentsActionsAndRendererSlots)
{
    ASSERT_TRUE(match->Start(MatchDriver::PersonAndComputers(game->GetGame()), false));
    const MatchDriver::Census before = match->Count();
    EXPECT_GT(before.entities, 4u);
    EXPECT_GT(before.components, before.entities);
    EXPECT_GT(before.slots, 0u);
    // The intro itself runs in the action system.
    EXPECT_GT(before.actions, 0u);

    // An entity of a name already used counts too.
    quellor::Engine* engine = quellor::Engine::Instance();
    quellor::Entity* twin = engine->CreateEntity(game->Players().front()->GetName(), "default");
    twin->AddComponent<quellor::Transform3D>(true);
    const MatchDriver::Census more = match->Count();
    EXPECT_EQ(more.entities, before.entities + 1);
    EXPECT_EQ(more.components, before.components + 1);
}

} // namespace
