#include "ai/pathfinding/NavGraph.h"
#include "tests/ai/AITestKit.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace quellor {
namespace {

Vec4 At(float x, float y, float z)
{
    return Vec4(x, y, z, 1.0f);
}

// Records every ray and blocks those that head for a chosen side.
struct RayLog {
    struct Ray {
        Vec4 origin;
        Vec4 direction;
        float maxDistance;
    };
    std::vector<Ray> rays;
    float blockedX = 0.0f; // rays whose direction.x has this sign are blocked; 0 blocks none

    NavGraph::RayQuery Query()
    {
        return [this](const Vec4& origin, const Vec4& direction, float maxDistance) {
            rays.push_back({origin, direction, maxDistance});
            return blockedX != 0.0f && direction.x * blockedX > 0.0f;
        };
    }
};

TEST(NavGraphVisibility, APositionOnANodeReturnsItWithoutARay)
{
    NavGraph graph;
    RayLog log;
    log.blockedX = 1.0f;
    graph.SetRayQuery(log.Query());
    graph.AddNode(At(-1, 0, 0), 1.0f, 1);
    graph.AddNode(At(3, 2, 1), 1.0f, 2);
    EXPECT_EQ(graph.GetNearestVisibleNode(At(3, 2, 1)), 2u);
    EXPECT_TRUE(log.rays.empty());
}

TEST(NavGraphVisibility, OfTwoNodesAtEqualDistanceTheUnblockedOneIsReturned)
{
    for (float blocked : {1.0f, -1.0f}) {
        NavGraph graph;
        RayLog log;
        log.blockedX = blocked;
        graph.SetRayQuery(log.Query());
        graph.AddNode(At(-4, 0, 0), 1.0f, 10);
        graph.AddNode(At(4, 0, 0), 1.0f, 20);
        EXPECT_EQ(graph.GetNearestVisibleNode(At(0, 0, 0)), blocked > 0 ? 10u : 20u);
    }
}

TEST(NavGraphVisibility, RaysGoNearestFirstWithUnitDirectionsAndTheirDistance)
{
    NavGraph graph;
    RayLog log;
    log.blockedX = 1.0f;
    graph.SetRayQuery(log.Query());
    graph.AddNode(At(3, 0, 4), 1.0f, 0);    // 5 away, blocked
    graph.AddNode(At(0, 10, 0), 1.0f, 1);   // 10 away
    graph.AddNode(At(0, 0, -20), 1.0f, 2);  // 20 away
    EXPECT_EQ(graph.GetNearestVisibleNode(At(0, 0, 0)), 1u);
    ASSERT_EQ(log.rays.size(), 2u);
    EXPECT_FLOAT_EQ(log.rays[0].maxDistance, 5.0f);
    EXPECT_FLOAT_EQ(log.rays[0].direction.x, 0.6f);
    EXPECT_FLOAT_EQ(log.rays[0].direction.z, 0.8f);
    EXPECT_FLOAT_EQ(log.rays[1].maxDistance, 10.0f);
    EXPECT_FLOAT_EQ(log.rays[1].direction.y, 1.0f);

    // Every ray blocked, or no nodes: none.
    graph.SetRayQuery([](const Vec4&, const Vec4&, float) { return true; });
    EXPECT_EQ(graph.GetNearestVisibleNode(At(1, 1, 1)), kNoNavNode);
    EXPECT_EQ(NavGraph().GetNearestVisibleNode(At(0, 0, 0)), kNoNavNode);
}

TEST(NavGraphVisibility, WithoutAPhysicsSystemEveryRayMisses)
{
    NavGraph graph; // the default query, and no engine in this process
    graph.AddNode(At(5, 0, 0), 1.0f, 1);
    graph.AddNode(At(50, 0, 0), 1.0f, 2);
    EXPECT_EQ(graph.GetNearestVisibleNode(At(0, 0, 0)), 1u);
}

TEST(NavGraphVisibility, FarApartCoordinatesGiveFiniteRaysAndABadPositionGivesNone)
{
    NavGraph graph;
    RayLog log;
    graph.SetRayQuery(log.Query());
    const float huge = std::numeric_limits<float>::max();
    graph.AddNode(At(huge, huge, huge), 1.0f, 1);
    EXPECT_EQ(graph.GetNearestVisibleNode(At(-huge, -huge, -huge)), 1u);
    ASSERT_EQ(log.rays.size(), 1u);
    const Vec4& d = log.rays[0].direction;
    EXPECT_TRUE(std::isfinite(d.x) && std::isfinite(d.y) && std::isfinite(d.z));
    EXPECT_NEAR(d.x * d.x + d.y * d.y + d.z * d.z, 1.0f, 1e-5f);
    EXPECT_TRUE(std::isfinite(log.rays[0].maxDistance));

    log.rays.clear();
    tarsel::test::StdoutCapture out;
    EXPECT_EQ(graph.GetNearestVisibleNode(At(std::nanf(""), 0, 0)), kNoNavNode);
    EXPECT_EQ(graph.GetNearestVisibleNode(At(0, std::numeric_limits<float>::infinity(), 0)), kNoNavNode);
    EXPECT_TRUE(log.rays.empty());
    EXPECT_NE(out.Text().find("not finite"), std::string::npos);
}

TEST(NavGraphEditing, RemovingAndAddingAnIdDropsItsOutgoingEdgesAndKeepsIncomingOnes)
{
    NavGraph graph;
    graph.AddNode(At(0, 0, 0), 1.0f, 1);
    graph.AddNode(At(5, 0, 0), 1.0f, 2);
    graph.AddEdge(1, 2, 5.0f, 0);
    graph.AddEdge(2, 1, 5.0f, 0);
    graph.RemoveNode(2);
    EXPECT_EQ(graph.GetNode(2), nullptr);
    EXPECT_TRUE(graph.GetEdges(2).empty());
    EXPECT_TRUE(graph.AddNode(At(7, 0, 0), 2.0f, 2));
    EXPECT_TRUE(graph.GetEdges(2).empty());
    EXPECT_EQ(graph.GetEdges(1), (std::vector<Edge>{Edge(1, 2, 5.0f, 0)}));
    EXPECT_EQ(graph.GetNode(2)->position.x, 7.0f);
    EXPECT_EQ(graph.GetNode(2)->radius, 2.0f);
}

TEST(NavGraphEditing, FirstNodeOfAnIdStaysAndEdgesAccumulate)
{
    NavGraph graph;
    EXPECT_TRUE(graph.AddNode(At(1, 0, 0), 1.0f, 4));
    EXPECT_FALSE(graph.AddNode(At(9, 0, 0), 3.0f, 4));
    EXPECT_EQ(graph.GetNode(4)->position.x, 1.0f);
    EXPECT_EQ(graph.GetNodeCount(), 1u);
    // Duplicates stay, missing ends are fine, negative costs are kept.
    EXPECT_TRUE(graph.AddEdge(4, 5, 2.0f, 0));
    EXPECT_TRUE(graph.AddEdge(4, 5, 2.0f, 0));
    EXPECT_TRUE(graph.AddEdge(8, 4, -3.0f, 1));
    EXPECT_EQ(graph.GetEdges(4).size(), 2u);
    EXPECT_EQ(graph.GetEdges(8), (std::vector<Edge>{Edge(8, 4, -3.0f, 1)}));
    // Look-ups of absent ids are answered, not thrown.
    EXPECT_EQ(graph.GetNode(5), nullptr);
    EXPECT_TRUE(graph.GetEdges(77).empty());
}

TEST(NavGraphEditing, HostileValuesAreRefusedWithAWarning)
{
    NavGraph graph;
    tarsel::test::StdoutCapture out;
    EXPECT_FALSE(graph.AddNode(At(0, 0, 0), 1.0f, 65536));
    EXPECT_FALSE(graph.AddNode(At(0, 0, 0), 1.0f, kNoNavNode));
    EXPECT_FALSE(graph.AddNode(At(std::nanf(""), 0, 0), 1.0f, 1));
    EXPECT_FALSE(graph.AddNode(At(0, -std::numeric_limits<float>::infinity(), 0), 1.0f, 2));
    EXPECT_TRUE(graph.AddNode(At(0, 0, 0), 1.0f, 65535));
    EXPECT_FALSE(graph.AddEdge(65535, 3, std::nanf(""), 0));
    EXPECT_FALSE(graph.AddEdge(65535, 3, std::numeric_limits<float>::infinity(), 0));
    const std::string& text = out.Text();
    EXPECT_NE(text.find("65536"), std::string::npos);
    EXPECT_NE(text.find("node 1 "), std::string::npos);
    EXPECT_NE(text.find("65535 -> 3"), std::string::npos);
    EXPECT_EQ(graph.GetNodeCount(), 1u);
    EXPECT_EQ(graph.GetIdBound(), 65536u);
    EXPECT_TRUE(graph.GetEdges(65535).empty());
}

TEST(NavGraphRandom, AnEmptyGraphLeavesTheOutputAloneAndOtherwiseTheDrawPicksByAscendingId)
{
    tarsel::test::ScriptedRandom random({4, 3, -2});
    NavGraph graph;
    AStarNode out(At(7, 8, 9), 4.0f);
    EXPECT_FALSE(graph.GetRandomNode(out));
    EXPECT_EQ(out.position.x, 7.0f);
    EXPECT_EQ(out.radius, 4.0f);
    EXPECT_EQ(random.Draws(), 0u);

    graph.AddNode(At(1, 0, 0), 1.0f, 30);
    graph.AddNode(At(2, 0, 0), 5.0f, 10);
    graph.AddNode(At(3, 0, 0), 1.0f, 20);
    std::vector<float> picked;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(graph.GetRandomNode(out));
        picked.push_back(out.position.x);
    }
    // 4 mod 3 is the second id (20), 3 mod 3 the first (10), a negative draw stays in range.
    EXPECT_EQ(picked, (std::vector<float>{3.0f, 2.0f, 1.0f}));
    EXPECT_EQ(out.radius, 1.0f);
}

} // namespace
} // namespace quellor

namespace quellor::test {
namespace {

// The graph of a running AI system asks the physics of "default".
class NavGraphInTheWorld : public AITest {
protected:
    void SetUp() override
    {
        AITest::SetUp();
        graph = &ai->GetNavGraph();
        graph->AddNode(Vec4(5, 1, 0, 1), 1.0f, 1);
        graph->AddNode(Vec4(-8, 1, 0, 1), 1.0f, 2);
    }

    NavGraph* graph = nullptr;
};

TEST_F(NavGraphInTheWorld, AWallHidesTheNearestNodeFromTheNextFrameOn)
{
    Box("wall", ZOR::float3(2.5f, 1.0f, 0.0f), kBodyStatic, ZOR::float3(0.5f, 3.0f, 3.0f));
    // Colliders attach at the next physics update: the wall does not block yet.
    EXPECT_EQ(graph->GetNearestVisibleNode(Vec4(0, 1, 0, 1)), 1u);
    Frames(1);
    EXPECT_EQ(graph->GetNearestVisibleNode(Vec4(0, 1, 0, 1)), 2u);
    // From behind the far node's side the wall is not in the way.
    EXPECT_EQ(graph->GetNearestVisibleNode(Vec4(4, 1, 0, 1)), 1u);
}

TEST_F(NavGraphInTheWorld, TheAskersOwnBodyAroundTheStartDoesNotBlock)
{
    Box("bot", ZOR::float3(0.0f, 1.0f, 0.0f), kBodyDynamic, ZOR::float3(1.0f, 1.0f, 1.0f));
    Frames(1);
    const Vec4 inside = Vec4(0, 1, 0, 1);
    EXPECT_EQ(graph->GetNearestVisibleNode(inside), 1u);
    // A sensor in the way does not block either.
    Box("trigger", ZOR::float3(2.5f, 1.0f, 0.0f), kBodyStatic, ZOR::float3(0.5f, 3.0f, 3.0f), true);
    Frames(1);
    EXPECT_EQ(graph->GetNearestVisibleNode(Vec4(0, 1, 0, 1)), 1u);
}

} // namespace
} // namespace quellor::test
