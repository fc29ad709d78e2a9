#include "ai/pathfinding/AStar.h"
#include "ai/pathfinding/EuclideanHeuristic.h"
#include "ai/pathfinding/IndexedHeap.h"
#include "ai/pathfinding/NavGraph.h"
#include "tests/ai/NavGraphScripts.h"
#include "tests/support/ManualClock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <queue>
#include <vector>

namespace quellor {
namespace {

using namespace test::navscripts;

Vec4 At(float x, float y, float z)
{
    return Vec4(x, y, z, 1.0f);
}

// Six nodes 10 apart along x, linked forwards: 0 -> 1 -> ... -> 5.
void AddLine(NavGraph& graph)
{
    for (std::uint32_t i = 0; i < 6; ++i) {
        graph.AddNode(At(10.0f * static_cast<float>(i), 0, 0), 1.0f, i);
        if (i > 0)
            graph.AddEdge(i - 1, i, 10.0f, 0);
    }
}

class AStarSearch : public ::testing::Test {
protected:
    AStarSearch() { graph.SetRayQuery(&test::navscripts::NothingInTheWay); }

    AStar Search(const Vec4& start, const Vec4& goal)
    {
        return AStar(&graph, AStar::Heuristic(&EuclideanHeuristic), start, goal);
    }

    // Steps and runs a search to its end with a generous budget.
    std::uint32_t Finish(AStar& search)
    {
        if (search.Step() != 0)
            return search.GetState();
        std::uint32_t state = AStar::kSearching;
        for (int calls = 0; state == AStar::kSearching && calls < 100000; ++calls)
            state = search.Run(1000.0f);
        return state;
    }

    // A path runs from the start node to the goal node, edge after edge, on edges of the graph.
    void ExpectChain(const AStar& search)
    {
        const std::vector<Edge> path = search.GetPath();
        ASSERT_FALSE(path.empty());
        EXPECT_EQ(path.front().from, search.GetStartId());
        EXPECT_EQ(path.back().to, search.GetGoalId());
        for (std::size_t i = 0; i < path.size(); ++i) {
            if (i + 1 < path.size()) {
                EXPECT_EQ(path[i].to, path[i + 1].from) << "edge " << i;
            }
            const std::vector<Edge>& out = graph.GetEdges(path[i].from);
            EXPECT_NE(std::find(out.begin(), out.end(), path[i]), out.end()) << "edge " << i << " is not in the graph";
        }
    }

    NavGraph graph;
};

TEST_F(AStarSearch, StartAndGoalNearOneNodeFailAtStep)
{
    graph.AddNode(At(0, 0, 0), 1.0f, 0);
    graph.AddNode(At(50, 0, 0), 1.0f, 1);
    graph.AddEdge(0, 1, 50.0f, 0);
    AStar search = Search(At(1, 0, 0), At(-1, 0, 2));
    EXPECT_EQ(search.GetState(), AStar::kFailed); // not started
    EXPECT_EQ(search.Step(), 1u);
    EXPECT_EQ(search.Run(1.0f), AStar::kFailed);
    EXPECT_TRUE(search.GetPath().empty());
}

TEST_F(AStarSearch, NoGraphOrNoVisibleNodeFailsAtStep)
{
    AStar empty = Search(At(0, 0, 0), At(10, 0, 0));
    EXPECT_EQ(empty.Step(), 1u);
    AStar orphan(nullptr, AStar::Heuristic(&EuclideanHeuristic), At(0, 0, 0), At(1, 0, 0));
    EXPECT_EQ(orphan.Step(), 1u);

    graph.AddNode(At(0, 0, 0), 1.0f, 0);
    graph.AddNode(At(10, 0, 0), 1.0f, 1);
    graph.SetRayQuery([](const Vec4&, const Vec4&, float) { return true; });
    AStar walled = Search(At(1, 1, 0), At(9, 1, 0));
    EXPECT_EQ(walled.Step(), 1u);
    EXPECT_EQ(walled.GetStartId(), kNoNavNode);
}

TEST_F(AStarSearch, TwoNodesGiveOneEdgeAndItsCost)
{
    graph.AddNode(At(0, 0, 0), 1.0f, 3);
    graph.AddNode(At(10, 0, 0), 1.0f, 8);
    graph.AddEdge(3, 8, 5.0f, 1);
    AStar search = Search(At(0, 0, 0), At(10, 0, 0));
    ASSERT_EQ(Finish(search), AStar::kFound);
    EXPECT_EQ(search.GetPath(), (std::vector<Edge>{Edge(3, 8, 5.0f, 1)}));
    ASSERT_NE(search.FindRecord(8), nullptr);
    EXPECT_EQ(search.FindRecord(8)->g, 5.0f);
    // A finished search answers at once.
    EXPECT_EQ(search.Run(0.0f), AStar::kFound);
}

TEST_F(AStarSearch, ACheaperRouteToAnOpenNodeReplacesItsParentAndKeepsItsHeuristic)
{
    // S reaches C directly (cost 30) and through A (1 + 1); A is expanded while C is still open.
    graph.AddNode(At(0, 0, 0), 1.0f, 0);   // S
    graph.AddNode(At(1, 0, 0), 1.0f, 1);   // A
    graph.AddNode(At(2, 0, 0), 1.0f, 2);   // C
    graph.AddNode(At(40, 0, 0), 1.0f, 3);  // G
    graph.AddEdge(0, 2, 30.0f, 0);
    graph.AddEdge(0, 1, 1.0f, 0);
    graph.AddEdge(1, 2, 1.0f, 0);
    graph.AddEdge(2, 3, 100.0f, 0);
    AStar search = Search(At(0, 0, 0), At(40, 0, 0));
    ASSERT_EQ(search.Step(), 0u);
    tarsel::test::ManualClock clock(0, 1); // every expansion passes a budget of 0
    EXPECT_EQ(search.Run(0.0f), AStar::kSearching); // S
    EXPECT_EQ(search.FindRecord(2)->g, 30.0f);
    EXPECT_EQ(search.Run(0.0f), AStar::kSearching); // A
    const NodeRecord* c = search.FindRecord(2);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->listState, NodeRecord::kOpen);
    EXPECT_EQ(c->g, 2.0f);
    EXPECT_EQ(c->parent, Edge(1, 2, 1.0f, 0));
    EXPECT_FLOAT_EQ(c->f - c->g, 38.0f);
    EXPECT_EQ(search.GetOpenList().Ids().front(), 2u);
}

TEST_F(AStarSearch, ABudgetOfZeroExpandsOneNodePerCall)
{
    AddLine(graph);
    AStar search = Search(At(0, 0, 0), At(50, 0, 0));
    ASSERT_EQ(search.Step(), 0u);
    tarsel::test::ManualClock clock(0, 1);
    int calls = 0;
    std::size_t closedBefore = 0;
    std::uint32_t state = AStar::kSearching;
    while (state == AStar::kSearching) {
        state = search.Run(0.0f);
        ++calls;
        std::size_t closed = 0;
        for (std::uint32_t i = 0; i < 6; ++i)
            closed += search.FindRecord(i) && search.FindRecord(i)->listState == NodeRecord::kClosed;
        EXPECT_EQ(closed, closedBefore + 1) << "call " << calls;
        closedBefore = closed;
        ASSERT_LT(calls, 10);
    }
    EXPECT_EQ(state, AStar::kFound);
    EXPECT_EQ(calls, 6);
    EXPECT_EQ(search.GetPath().size(), 5u);
}

TEST_F(AStarSearch, AStoppedClockLetsOneCallFinish)
{
    AddLine(graph);
    AStar search = Search(At(0, 0, 0), At(50, 0, 0));
    ASSERT_EQ(search.Step(), 0u);
    tarsel::test::ManualClock clock(0, 0);
    EXPECT_EQ(search.Run(0.0f), AStar::kFound);
}

TEST_F(AStarSearch, PathRunsInTravelOrderWithoutTheStartsSelfEdge)
{
    // 0 -> 1 -> 2 -> 3, with a self-edge on the start and a dead end.
    graph.AddNode(At(0, 0, 0), 1.0f, 0);
    graph.AddNode(At(5, 0, 0), 1.0f, 1);
    graph.AddNode(At(10, 0, 0), 1.0f, 2);
    graph.AddNode(At(15, 0, 0), 1.0f, 3);
    graph.AddNode(At(0, 0, 5), 1.0f, 4);
    graph.AddEdge(0, 0, 0.0f, 0);
    graph.AddEdge(0, 4, 1.0f, 0);
    graph.AddEdge(0, 1, 5.0f, 0);
    graph.AddEdge(1, 2, 5.0f, 1);
    graph.AddEdge(2, 3, 5.0f, 0);
    AStar search = Search(At(0, 1, 0), At(15, 1, 0));
    ASSERT_EQ(Finish(search), AStar::kFound);
    EXPECT_EQ(search.GetPath(),
              (std::vector<Edge>{Edge(0, 1, 5.0f, 0), Edge(1, 2, 5.0f, 1), Edge(2, 3, 5.0f, 0)}));
}

TEST(IndexedHeapOrder, EqualFDoesNotPassAParentAndTheLeftChildWinsTies)
{
    NodeRecord records[5];
    const float f[5] = {1.0f, 1.0f, 0.5f, 3.0f, 3.0f};
    for (std::uint32_t i = 0; i < 5; ++i) {
        records[i].id = i;
        records[i].f = f[i];
    }
    IndexedHeap heap;
    heap.Reset(5);
    heap.Push(&records[0]);
    heap.Push(&records[1]); // equal to its parent: stays below
    EXPECT_EQ(heap.Ids(), (std::vector<std::uint32_t>{0, 1}));
    heap.Push(&records[2]); // smaller: rises to the top
    EXPECT_EQ(heap.Ids(), (std::vector<std::uint32_t>{2, 1, 0}));

    // [0.5 | 3, 3 | 1]: popping moves the last up; of two equal children the left one rises.
    heap.Reset(5);
    records[0].f = 0.5f;
    records[1].f = 3.0f;
    records[2].f = 3.0f;
    records[3].f = 4.0f;
    for (std::uint32_t i = 0; i < 4; ++i)
        heap.Push(&records[i]);
    EXPECT_EQ(heap.Ids(), (std::vector<std::uint32_t>{0, 1, 2, 3}));
    EXPECT_EQ(heap.Pop(), &records[0]);
    EXPECT_EQ(heap.Ids(), (std::vector<std::uint32_t>{1, 3, 2}));

    // A decrease-key finds its slot by id.
    records[2].f = 1.0f;
    heap.DecreaseKey(2);
    EXPECT_EQ(heap.Ids(), (std::vector<std::uint32_t>{2, 3, 1}));
    EXPECT_EQ(heap.Pop(), &records[2]);
    EXPECT_EQ(heap.Pop(), &records[1]);
    EXPECT_EQ(heap.Pop(), &records[3]);
    EXPECT_EQ(heap.Pop(), nullptr);
}

// The cheapest cost between two nodes, in double, or infinity.
double Dijkstra(const NavGraph& graph, std::uint32_t from, std::uint32_t to)
{
    std::map<std::uint32_t, double> best;
    using Item = std::pair<double, std::uint32_t>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
    best[from] = 0.0;
    queue.push({0.0, from});
    while (!queue.empty()) {
        auto [cost, id] = queue.top();
        queue.pop();
        if (cost > best[id])
            continue;
        if (id == to)
            return cost;
        for (const Edge& e : graph.GetEdges(id)) {
            if (!graph.GetNode(e.to))
                continue;
            const double next = cost + e.cost;
            auto found = best.find(e.to);
            if (found == best.end() || next < found->second) {
                best[e.to] = next;
                queue.push({next, e.to});
            }
        }
    }
    return std::numeric_limits<double>::infinity();
}

TEST_F(AStarSearch, CostsEqualDijkstraOnTwoHundredRandomGraphs)
{
    int found = 0;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        NavGraph random;
        random.SetRayQuery(&test::navscripts::NothingInTheWay);
        const NavScript script = RandomGraph(seed, 10 + static_cast<int>(seed % 40), 3 + static_cast<int>(seed % 4));
        ApplyGraphOps(random, script);
        const auto [start, goal] = RequestsOf(script).front();
        AStar search(&random, AStar::Heuristic(&EuclideanHeuristic), start, goal);
        if (search.Step() != 0) {
            EXPECT_EQ(search.GetStartId(), search.GetGoalId()) << "seed " << seed;
            continue;
        }
        std::uint32_t state = AStar::kSearching;
        while (state == AStar::kSearching)
            state = search.Run(1000.0f);
        const double expected = Dijkstra(random, search.GetStartId(), search.GetGoalId());
        if (std::isinf(expected)) {
            EXPECT_EQ(state, AStar::kFailed) << "seed " << seed;
            continue;
        }
        ASSERT_EQ(state, AStar::kFound) << "seed " << seed;
        ++found;
        double cost = 0.0;
        for (const Edge& e : search.GetPath())
            cost += e.cost;
        EXPECT_NEAR(cost, expected, 1e-4 * expected + 1e-4) << "seed " << seed;
        EXPECT_NEAR(search.FindRecord(search.GetGoalId())->g, expected, 1e-4 * expected + 1e-4) << "seed " << seed;
    }
    // The generator must give the comparison something to compare.
    EXPECT_GT(found, 100) << found;
}

TEST_F(AStarSearch, SparseIdsAreSearched)
{
    graph.AddNode(At(0, 0, 0), 1.0f, 0);
    graph.AddNode(At(10, 0, 0), 1.0f, 4000);
    graph.AddNode(At(20, 0, 0), 1.0f, 7);
    graph.AddEdge(0, 4000, 10.0f, 0);
    graph.AddEdge(4000, 7, 10.0f, 0);
    AStar search = Search(At(0, 0, 0), At(20, 0, 0));
    ASSERT_EQ(Finish(search), AStar::kFound);
    EXPECT_EQ(search.GetPath(), (std::vector<Edge>{Edge(0, 4000, 10.0f, 0), Edge(4000, 7, 10.0f, 0)}));
}

TEST_F(AStarSearch, EdgesToMissingOrRemovedNodesAreSkipped)
{
    graph.AddNode(At(0, 0, 0), 1.0f, 0);
    graph.AddNode(At(10, 0, 0), 1.0f, 1);
    graph.AddNode(At(5, 0, 5), 1.0f, 2);
    graph.AddNode(At(20, 0, 0), 1.0f, 3);
    graph.AddEdge(0, 9, 1.0f, 0);           // never a node
    graph.AddEdge(0, 70000, 1.0f, 0);       // beyond any open list
    graph.AddEdge(0, 2, 1.0f, 0);           // removed below
    graph.AddEdge(0, 1, 10.0f, 0);
    graph.AddEdge(2, 3, 1.0f, 0);
    graph.AddEdge(1, 3, 10.0f, 0);
    graph.RemoveNode(2);
    AStar search = Search(At(0, 0, 0), At(20, 0, 0));
    ASSERT_EQ(Finish(search), AStar::kFound);
    EXPECT_EQ(search.GetPath(), (std::vector<Edge>{Edge(0, 1, 10.0f, 0), Edge(1, 3, 10.0f, 0)}));
    EXPECT_EQ(search.FindRecord(9), nullptr);
    EXPECT_EQ(search.FindRecord(2), nullptr);
}

TEST_F(AStarSearch, ANodeAddedAboveTheOpenListDuringASearchIsSkipped)
{
    graph.AddNode(At(0, 0, 0), 1.0f, 0);
    graph.AddNode(At(10, 0, 0), 1.0f, 1);
    graph.AddNode(At(30, 0, 0), 1.0f, 2);
    graph.AddEdge(0, 1, 10.0f, 0);
    graph.AddEdge(1, 500, 1.0f, 0);
    graph.AddEdge(500, 2, 1.0f, 0);
    AStar search = Search(At(0, 0, 0), At(30, 0, 0));
    ASSERT_EQ(search.Step(), 0u);
    graph.AddNode(At(20, 0, 0), 1.0f, 500);
    EXPECT_EQ(search.Run(1000.0f), AStar::kFailed);
}

TEST_F(AStarSearch, AGoalOrStartRemovedDuringTheSearchEndsItAsFailed)
{
    for (std::uint32_t removed : {0u, 5u}) {
        NavGraph line;
        line.SetRayQuery(&test::navscripts::NothingInTheWay);
        AddLine(line);
        AStar search(&line, AStar::Heuristic(&EuclideanHeuristic), At(0, 0, 0), At(50, 0, 0));
        ASSERT_EQ(search.Step(), 0u);
        tarsel::test::ManualClock clock(0, 1);
        EXPECT_EQ(search.Run(0.0f), AStar::kSearching);
        line.RemoveNode(removed);
        EXPECT_EQ(search.Run(0.0f), AStar::kFailed) << "removed " << removed;
        EXPECT_EQ(search.Run(0.0f), AStar::kFailed);
        EXPECT_TRUE(search.GetPath().empty());
    }
}

TEST_F(AStarSearch, ACopiedSearchCarriesOnByItself)
{
    const NavScript script = ArenaGraph(7, 100, 1);
    ApplyGraphOps(graph, script);
    const auto [start, goal] = RequestsOf(script).front();
    AStar reference = Search(start, goal);
    ASSERT_EQ(Finish(reference), AStar::kFound);

    std::unique_ptr<AStar> copy;
    AStar assigned = Search(goal, start);
    {
        AStar search = Search(start, goal);
        ASSERT_EQ(search.Step(), 0u);
        tarsel::test::ManualClock clock(0, 1);
        for (int i = 0; i < 5; ++i)
            ASSERT_EQ(search.Run(0.0f), AStar::kSearching);
        copy = std::make_unique<AStar>(search);
        assigned = search;
    } // the original goes; the copies must not lean on its records
    for (AStar* search : {copy.get(), &assigned}) {
        std::uint32_t state = AStar::kSearching;
        while (state == AStar::kSearching)
            state = search->Run(1000.0f);
        EXPECT_EQ(state, AStar::kFound);
        EXPECT_EQ(search->GetPath(), reference.GetPath());
    }
}

} // namespace
} // namespace quellor
