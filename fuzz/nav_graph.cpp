// Navigation graphs from arbitrary bytes: a sequence of node and edge additions and removals
// over the whole id range with arbitrary floats, and path requests between positions, each run
// to completion with a budget of 0. A found path must be a chain of the graph's edges from the
// start node to the goal node.
#include "ai/pathfinding/AStar.h"
#include "ai/pathfinding/EuclideanHeuristic.h"
#include "ai/pathfinding/NavGraph.h"
#include "tests/ai/NavGraphScripts.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace quellor;
using namespace quellor::test::navscripts;

// Bounds the graph's size and the work of one input.
constexpr std::size_t kMaxOps = 4096;
constexpr int kMaxRequests = 16;
constexpr int kMaxCallsPerSearch = 70000;

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "nav_graph fuzz: %s\n", what);
        std::abort();
    }
}

// Blocks rays that climb steeply, so that some nodes are hidden.
bool SteepRaysBlocked(const Vec4&, const Vec4& direction, float)
{
    return direction.y > 0.9f;
}

void CheckPath(const NavGraph& graph, const AStar& search)
{
    const std::vector<Edge> path = search.GetPath();
    Require(!path.empty(), "a found path has no edge");
    Require(path.front().from == search.GetStartId(), "the path does not leave the start node");
    Require(path.back().to == search.GetGoalId(), "the path does not reach the goal node");
    for (std::size_t i = 0; i < path.size(); ++i) {
        Require(i + 1 == path.size() || path[i].to == path[i + 1].from, "the path is not a chain");
        const std::vector<Edge>& out = graph.GetEdges(path[i].from);
        Require(std::find(out.begin(), out.end(), path[i]) != out.end(), "a path edge is not in the graph");
        Require(graph.GetNode(path[i].to) != nullptr, "a path edge leads to no node");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Refused nodes and edges log a line each; keep the fuzzer's output readable.
    static const bool silenced = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(silenced);

    const NavScript script = DecodeScript(data, size, kMaxOps);
    NavGraph graph;
    graph.SetRayQuery(&SteepRaysBlocked);
    int requests = 0;
    for (const NavOp& op : script) {
        if (op.kind != NavOpKind::Request) {
            ApplyGraphOps(graph, {op});
            continue;
        }
        if (++requests > kMaxRequests)
            continue;
        AStar search(&graph, AStar::Heuristic(&EuclideanHeuristic), PointOf(op.p), PointOf(op.q));
        if (search.Step() != 0)
            continue;
        std::uint32_t state = AStar::kSearching;
        for (int calls = 0; state == AStar::kSearching && calls < kMaxCallsPerSearch; ++calls)
            state = search.Run(0.0f);
        // Every node is expanded at most once and ids stop at 65535.
        Require(state != AStar::kSearching, "a search did not end");
        if (state == AStar::kFound)
            CheckPath(graph, search);
    }
    return 0;
}
