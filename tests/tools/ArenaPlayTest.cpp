// The built arenas in play: the game world with its AI system, the graphics system inactive (no
// frame drawn; skinned models still update), a person and three computer players cloned from the
// built archetypes as a match start clones them, frames of a fixed dt with the clock following.
#include "ai/pathfinding/PathPlanner.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/SpawnPointComponent.h"
#include "physics/PhysicsSystem3D.h"
#include "tests/ai/AIWorldKit.h"
#include "tests/support/ContentDir.h"
#include "tools/writers/ArenaContent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quellor::test {
namespace {

namespace fs = std::filesystem;
using tarsel::tools::ArenaDescription;
using tarsel::tools::ArenaIsland;

struct Joiner {
    const char* archetype;
    const char* team;
    int controllerID;
};
const Joiner kJoiners[] = {
    {"beta_player.arch", "red", 0},
    {"ai_bot.arch", "orange", -1},
    {"ai_bot.arch", "purple", -1},
    {"ai_bot.arch", "green", -1},
};

class ArenaPlayTest : public AIWorldTest, public ::testing::WithParamInterface<std::size_t> {
protected:
    void SetUp() override
    {
        // Absolute before the world makes its own folder the working directory.
        const fs::path content = fs::absolute(tarsel::test::ContentDir());
        AIWorldTest::SetUp();
        world->graphics->SetActive(false);
        m_cwd.emplace(content);
        world->resources->ScanDirectory("");
        // What the loading screen loads for the players: their skinned model and its clips.
        for (const char* folder : {"models", "animations"})
            for (const auto& entry : fs::directory_iterator(content / folder)) {
                const std::string path = std::string(folder) + "/" + entry.path().filename().string();
                if (entry.path().extension() == ".model") {
                    ASSERT_TRUE(world->graphics->LoadModel(path)) << path;
                } else if (entry.path().extension() == ".anim") {
                    ASSERT_TRUE(world->graphics->LoadAnimation(path)) << path;
                }
            }
        world->objects->LoadLevel(Arena().level);
        // Colliders answer ray queries after a physics step.
        Run(1);
    }

    void TearDown() override
    {
        // The world's own folder comes back first, then the world goes and gives back the first.
        m_cwd.reset();
        AIWorldTest::TearDown();
    }

    static const ArenaDescription& Arena() { return tarsel::tools::Arenas().at(GetParam()); }

    std::vector<Entity*> JoinPlayers()
    {
        std::vector<Entity*> players;
        for (const Joiner& joiner : kJoiners) {
            Entity* player =
                world->objects->Clone(joiner.archetype, world->objects->UniqueEntityName("player"), "default");
            if (!player)
                continue;
            auto* data = player->GetComponent<PlayerDataComponent>();
            data->playerTeam = joiner.team;
            data->controllerID = joiner.controllerID;
            players.push_back(player);
        }
        return players;
    }

    void Run(int frames)
    {
        for (int i = 0; i < frames; ++i) {
            ++m_frame;
            clock.Set(m_frame * kSecond / 60);
            world->Step(1);
        }
    }

    static Vec4 Position(Entity* entity) { return entity->GetComponent<RigidBodyComponent3D>()->GetPosition(); }

    // The island whose top the point stands over, at least `margin` inside its edges.
    static const ArenaIsland* IslandOver(float x, float z, float margin)
    {
        for (const ArenaIsland& island : Arena().islands)
            if (std::fabs(x - island.x) < island.halfX - margin && std::fabs(z - island.z) < island.halfZ - margin)
                return &island;
        return nullptr;
    }

private:
    std::optional<tarsel::test::WorkingDirectory> m_cwd;
    std::int64_t m_frame = 0;
};

TEST_P(ArenaPlayTest, PlayersRestWithTheirSolesOnTheGroundAndNobodyFallsThroughAnIslandInAMinute)
{
    const std::vector<Entity*> players = JoinPlayers();
    ASSERT_EQ(players.size(), std::size(kJoiners));
    // Held as the intro holds them, until they have landed where the match put them.
    Run(1);
    ASSERT_EQ(world->logic->GetPlayerList().size(), players.size());
    for (Entity* player : players)
        player->GetComponent<PlayerDataComponent>()->SetControlable(false);
    Run(120);
    for (Entity* player : players) {
        const Vec4 at = Position(player);
        const ArenaIsland* island = IslandOver(at.x, at.z, 0.0f);
        ASSERT_NE(island, nullptr) << player->GetName() << " over the void at " << at.x << "," << at.z;
        EXPECT_NEAR(at.y, island->top, 0.5f) << player->GetName() << "'s soles on " << island->name;
        // The motor's ellipsoid, around the centre of mass, touches the same ground.
        const float bottom = player->GetComponent<RigidBodyComponent3D>()->GetCenterOfMass().y -
                             player->GetComponent<CharacterMotor3D>()->m_ellipseB;
        EXPECT_NEAR(bottom, island->top, 0.5f) << player->GetName() << "'s ellipsoid on " << island->name;
        EXPECT_TRUE(player->GetComponent<PlayerDataComponent>()->m_onGround) << player->GetName();
    }

    for (Entity* player : players)
        player->GetComponent<PlayerDataComponent>()->SetControlable(true);
    // A minute is long enough for a team to win: the win is held off to keep everyone playing.
    world->logic->m_winEnabled = false;
    // Knocked-out players are destroyed and made again: follow the game logic's list, and start
    // a player's track afresh when its entity changes.
    const auto& entries = world->logic->GetPlayerList();
    std::vector<const Entity*> seen(entries.size(), nullptr);
    std::vector<Vec4> last(entries.size());
    float travelled = 0.0f;
    for (int frame = 0; frame < 60 * 60; ++frame) {
        Run(1);
        ASSERT_EQ(entries.size(), seen.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            Entity* player = entries[i].Get();
            if (!player || !player->GetComponent<RigidBodyComponent3D>()) {
                seen[i] = nullptr;
                continue;
            }
            const Vec4 at = Position(player);
            ASSERT_TRUE(std::isfinite(at.x) && std::isfinite(at.y) && std::isfinite(at.z)) << player->GetName();
            if (seen[i] == player) {
                // Sinking below an island's top while over it, well inside its edges, is falling through.
                const ArenaIsland* before = IslandOver(last[i].x, last[i].z, 1.0f);
                const ArenaIsland* now = IslandOver(at.x, at.z, 1.0f);
                if (before && before == now) {
                    ASSERT_FALSE(last[i].y >= now->top - 0.5f && at.y < now->top - 0.5f)
                        << player->GetName() << " fell through " << now->name << " at frame " << frame << ": "
                        << last[i].y << " -> " << at.y;
                }
                travelled += std::hypot(at.x - last[i].x, at.z - last[i].z);
            }
            seen[i] = player;
            last[i] = at;
        }
    }
    // The computer players played: they went somewhere.
    EXPECT_GT(travelled, 100.0f);
}

TEST_P(ArenaPlayTest, PathsLeadFromEverySpawnPointToEveryNode)
{
    Entity* seeker = world->Spawn("seeker", 0.0f, 0.0f, 0.0f);
    auto* planner = seeker->AddComponent<PathPlanner>(true);
    ASSERT_NE(planner, nullptr);
    const auto& nodes = ai->GetNavGraph().GetNodes();
    ASSERT_EQ(nodes.size(), tarsel::tools::BuildNavigation(Arena()).size());
    std::vector<Vec4> spawns;
    for (GameLogicMember* member : world->logic->GetSlot(LogicSlot::SpawnPointComponent))
        if (auto* point = dynamic_cast<SpawnPointComponent*>(member))
            spawns.push_back(point->GetPosition());
    ASSERT_GE(spawns.size(), 8u);
    for (const Vec4& spawn : spawns) {
        // A spawn point sees a node, and from there every other node has a path.
        const std::uint32_t start = ai->GetNavGraph().GetNearestVisibleNode(spawn);
        ASSERT_NE(start, kNoNavNode) << "the spawn point at " << spawn.x << "," << spawn.z << " sees no node";
        for (const auto& [id, node] : nodes) {
            if (id == start)
                continue;
            ASSERT_TRUE(planner->RequestPath(spawn, node.position))
                << "no search from the spawn point at " << spawn.x << "," << spawn.z << " to node " << id;
            // The whole search in one slice.
            for (int slice = 0; slice < 100 && planner->GetState() == AStar::kSearching; ++slice)
                planner->Update(1.0f);
            EXPECT_EQ(planner->GetState(), AStar::kFound)
                << "from the spawn point at " << spawn.x << "," << spawn.z << " to node " << id;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Arenas, ArenaPlayTest, ::testing::Values(std::size_t{0}, std::size_t{1}),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             const std::string level = tarsel::tools::Arenas().at(info.param).level;
                             return level.substr(0, level.find('.'));
                         });

} // namespace
} // namespace quellor::test
