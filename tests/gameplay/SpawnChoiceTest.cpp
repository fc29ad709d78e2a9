// The spawn choice: a team's spawn point farthest, on average, from the players of other teams.
#include "GameplayTestKit.h"

#include "engine/Engine.h"
#include "engine/Transform3D.h"
#include "gameplay/SpawnPointComponent.h"
#include "tests/support/StdoutCapture.h"

namespace quellor::test {
namespace {

class SpawnChoice : public tarsel::test::GameWorldTest {
protected:
    SpawnPointComponent* Choose(const std::string& team) { return world->logic->ChooseSpawnPoint(team); }
};

TEST_F(SpawnChoice, OnlyTheTeamsPointsAndTheFarthestMeanFromOtherTeams)
{
    SpawnPointComponent* redNear = world->AddSpawnPoint("redNear", "red", 1.0f, 0.0f, 0.0f);
    SpawnPointComponent* blueFar = world->AddSpawnPoint("blueFar", "blue", 100.0f, 0.0f, 0.0f);
    SpawnPointComponent* redFar = world->AddSpawnPoint("redFar", "red", 30.0f, 0.0f, 0.0f);
    // A red player far out does not count for red; the blue one at the origin does.
    world->JoinPlayer("red0", "red", 0, 25.0f, 0.0f, 0.0f);
    world->JoinPlayer("blue0", "blue", 1, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(Choose("red"), redFar);
    EXPECT_EQ(Choose("blue"), blueFar);

    // Moving the blue player next to the far point turns the choice.
    world->engine->GetEntity("blue0", "default")->GetComponent<Transform3D>()->SetPosition(31.0f, 0.0f, 0.0f);
    EXPECT_EQ(Choose("red"), redNear);
}

TEST_F(SpawnChoice, TheTeamNoneCountsEveryPlayer)
{
    SpawnPointComponent* a = world->AddSpawnPoint("a", "none", 0.0f, 0.0f, 0.0f);
    SpawnPointComponent* b = world->AddSpawnPoint("b", "none", 10.0f, 0.0f, 0.0f);
    world->JoinPlayer("p0", "none", 0, 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(Choose("none"), b) << "its own team's players count too";
    world->engine->GetEntity("p0", "default")->GetComponent<Transform3D>()->SetPosition(9.0f, 0.0f, 0.0f);
    EXPECT_EQ(Choose("none"), a);
}

TEST_F(SpawnChoice, TiesGoToTheEarliestAndNoPlayersMeansTheFirst)
{
    SpawnPointComponent* first = world->AddSpawnPoint("first", "red", -5.0f, 0.0f, 0.0f);
    world->AddSpawnPoint("second", "red", 5.0f, 0.0f, 0.0f);
    EXPECT_EQ(Choose("red"), first);
    world->JoinPlayer("blue0", "blue", 0, 0.0f, 3.0f, 0.0f);
    EXPECT_EQ(Choose("red"), first);
}

TEST_F(SpawnChoice, NoPointForTheTeamGivesNullAndOneWarning)
{
    world->AddSpawnPoint("red", "red", 0.0f, 0.0f, 0.0f);
    tarsel::test::StdoutCapture capture;
    EXPECT_EQ(Choose("Red"), nullptr) << "names match exactly";
    EXPECT_EQ(Choose("Red"), nullptr);
    EXPECT_EQ(Choose(""), nullptr);
    const std::string& text = capture.Text();
    EXPECT_NE(text.find("no spawn point for team \"Red\""), std::string::npos) << text;
    EXPECT_EQ(text.find("\"Red\""), text.rfind("\"Red\"")) << "once per team: " << text;
    EXPECT_NE(text.find("team \"\""), std::string::npos) << text;
}

} // namespace
} // namespace quellor::test
