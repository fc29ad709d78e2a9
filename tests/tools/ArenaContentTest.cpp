// The arenas' rules, from their descriptions and the level text written from them.
#include "tools/writers/ArenaContent.h"
#include "tools/writers/ShapeContent.h"

#include <gtest/gtest.h>

#include <map>
#include <queue>
#include <regex>
#include <set>
#include <string>

namespace {

using tarsel::tools::ArenaBox;
using tarsel::tools::ArenaDescription;
using tarsel::tools::ArenaIsland;
using tarsel::tools::ArenaNode;

// The box the game keeps every level inside.
bool InsideLevelBox(float x, float y, float z)
{
    return x >= -468.0f && x <= 560.0f && y >= -400.0f && y <= 333.0f && z >= -335.0f && z <= 580.0f;
}

const ArenaIsland* IslandUnder(const ArenaDescription& arena, float x, float y, float z)
{
    for (const ArenaIsland& island : arena.islands)
        if (std::abs(x - island.x) < island.halfX && std::abs(z - island.z) < island.halfZ && y > island.top)
            return &island;
    return nullptr;
}

TEST(ArenaContent, IslandsSitInsideTheBoundaryAboveTheKillVolumeWithinTheLevelBox)
{
    ASSERT_EQ(tarsel::tools::Arenas().size(), 2u);
    for (const ArenaDescription& arena : tarsel::tools::Arenas()) {
        const ArenaBox kill = tarsel::tools::KillVolume(arena);
        const ArenaBox boundary = tarsel::tools::Boundary(arena);
        for (const ArenaBox& box : {kill, boundary}) {
            EXPECT_TRUE(InsideLevelBox(box.x - box.halfX, box.y - box.halfY, box.z - box.halfZ)) << arena.level;
            EXPECT_TRUE(InsideLevelBox(box.x + box.halfX, box.y + box.halfY, box.z + box.halfZ)) << arena.level;
        }
        std::set<std::string> names;
        for (const ArenaIsland& island : arena.islands) {
            EXPECT_TRUE(names.insert(island.name).second) << island.name;
            EXPECT_LT(island.halfX, 50.0f) << island.name;
            EXPECT_LT(island.halfZ, 50.0f) << island.name;
            // The kill volume lies under the whole island, below its lowest point.
            EXPECT_LE(std::abs(island.x - kill.x) + island.halfX, kill.halfX) << island.name;
            EXPECT_LE(std::abs(island.z - kill.z) + island.halfZ, kill.halfZ) << island.name;
            EXPECT_LT(kill.y + kill.halfY, island.top - 50.0f) << island.name;
            // The boundary holds the island and the air a jump or lift reaches above it.
            EXPECT_LE(std::abs(island.x - boundary.x) + island.halfX, boundary.halfX) << island.name;
            EXPECT_LE(std::abs(island.z - boundary.z) + island.halfZ, boundary.halfZ) << island.name;
            EXPECT_GE(boundary.y + boundary.halfY, island.top + 100.0f) << island.name;
            EXPECT_LE(boundary.y - boundary.halfY, island.top - 40.0f) << island.name;
            EXPECT_TRUE(tarsel::tools::ShapeBuilders().count(tarsel::tools::IslandFileName(arena, island, ".shape")))
                << island.name << " has no shape builder";
        }
    }
}

TEST(ArenaContent, NavigationReachesEveryIslandAndEveryNodeFromEveryOther)
{
    for (const ArenaDescription& arena : tarsel::tools::Arenas()) {
        const std::vector<ArenaNode> nodes = tarsel::tools::BuildNavigation(arena);
        ASSERT_FALSE(nodes.empty());
        std::set<std::string> covered;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const ArenaNode& node = nodes[i];
            const ArenaIsland* island = IslandUnder(arena, node.x, node.y, node.z);
            ASSERT_NE(island, nullptr) << arena.level << " node " << i << " floats over nothing";
            covered.insert(island->name);
            EXPECT_GT(node.y - island->top, 1.0f);
            EXPECT_LT(node.y - island->top, 6.0f);
            EXPECT_LE(node.edges.size(), 5u) << i;
            for (const ArenaNode::Edge& edge : node.edges) {
                ASSERT_GE(edge.to, 0);
                ASSERT_LT(static_cast<std::size_t>(edge.to), nodes.size());
                EXPECT_NE(static_cast<std::size_t>(edge.to), i);
                EXPECT_GT(edge.cost, 0.0f);
                // Every edge has its way back, of the same type.
                bool back = false;
                for (const ArenaNode::Edge& other : nodes[static_cast<std::size_t>(edge.to)].edges)
                    back = back || (other.to == static_cast<int>(i) && other.type == edge.type);
                EXPECT_TRUE(back) << i << " -> " << edge.to;
            }
        }
        EXPECT_EQ(covered.size(), arena.islands.size()) << arena.level << ": an island without a node";
        // Edges run both ways, so one search from node 0 reaching all shows strong connection.
        std::vector<bool> seen(nodes.size(), false);
        std::queue<int> open;
        open.push(0);
        seen[0] = true;
        while (!open.empty()) {
            const int at = open.front();
            open.pop();
            for (const ArenaNode::Edge& edge : nodes[static_cast<std::size_t>(at)].edges)
                if (!seen[static_cast<std::size_t>(edge.to)]) {
                    seen[static_cast<std::size_t>(edge.to)] = true;
                    open.push(edge.to);
                }
        }
        for (std::size_t i = 0; i < nodes.size(); ++i)
            EXPECT_TRUE(seen[i]) << arena.level << " node " << i << " cannot be reached";
    }
}

TEST(ArenaContent, LevelTextPlacesTwoSpawnsPerTeamOverGroundAndAnIntroLongEnough)
{
    EXPECT_GE(tarsel::tools::kIntroNodes * (tarsel::tools::kIntroHold + tarsel::tools::kIntroTravel), 12.0f);
    const std::regex spawn(
        R"re(<Transform3D><m_x><float value="([^"]+)"/></m_x><m_y><float value="([^"]+)"/></m_y><m_z><float value="([^"]+)"/></m_z>.*?</Transform3D><SpawnPointComponent><m_team><string value="([a-z]+)"/>)re");
    const std::regex priority(R"re(<m_priority><int value="(-?\d+)"/>)re");
    const std::regex id(R"re(<AStarNodeComponent><m_id><int value="(\d+)"/>)re");
    for (const ArenaDescription& arena : tarsel::tools::Arenas()) {
        const std::string text = tarsel::tools::WriteArenaLevel(arena);
        EXPECT_EQ(text, tarsel::tools::WriteArenaLevel(arena));
        std::map<std::string, int> spawns;
        for (auto match = std::sregex_iterator(text.begin(), text.end(), spawn); match != std::sregex_iterator(); ++match) {
            const float x = std::stof((*match)[1]), y = std::stof((*match)[2]), z = std::stof((*match)[3]);
            ++spawns[(*match)[4]];
            EXPECT_NE(IslandUnder(arena, x, y, z), nullptr) << arena.level << " spawn at " << x << "," << z;
        }
        for (const char* team : {"red", "orange", "purple", "green"})
            EXPECT_GE(spawns[team], 2) << arena.level << " " << team;
        std::set<int> priorities;
        for (auto match = std::sregex_iterator(text.begin(), text.end(), priority); match != std::sregex_iterator(); ++match)
            EXPECT_TRUE(priorities.insert(std::stoi((*match)[1])).second) << arena.level << ": two camera nodes share a priority";
        EXPECT_EQ(priorities.size(), static_cast<std::size_t>(tarsel::tools::kIntroNodes));
        int expected = 0;
        for (auto match = std::sregex_iterator(text.begin(), text.end(), id); match != std::sregex_iterator(); ++match)
            EXPECT_EQ(std::stoi((*match)[1]), expected++) << arena.level << ": node ids run 0..N-1 in order";
        EXPECT_EQ(static_cast<std::size_t>(expected), tarsel::tools::BuildNavigation(arena).size());
        EXPECT_NE(text.find("<DeathBoxComponent/>"), std::string::npos);
        EXPECT_NE(text.find("<LevelBoundaryComponent/>"), std::string::npos);
        // A thumper slams from its rigid body: one without a body never slams.
        const auto thumper = text.find("<thumper>");
        if (arena.thumper) {
            ASSERT_NE(thumper, std::string::npos) << arena.level;
            const std::string entity = text.substr(thumper, text.find("</thumper>", thumper) - thumper);
            EXPECT_NE(entity.find("<ThumperComponent>"), std::string::npos) << arena.level;
            EXPECT_NE(entity.find("<RigidBodyComponent3D>"), std::string::npos) << arena.level;
        } else {
            EXPECT_EQ(thumper, std::string::npos) << arena.level;
        }
    }
}

} // namespace
