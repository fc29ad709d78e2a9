#pragma once
// A time-sliced A* search over a NavGraph between the nodes nearest to two positions. Step sets
// the search up; each Run expands nodes until the goal is reached, the open list runs dry or the
// call's time budget is spent.
#include "ai/pathfinding/AStarNode.h"
#include "ai/pathfinding/Edge.h"
#include "ai/pathfinding/IndexedHeap.h"
#include "ai/pathfinding/NodeRecord.h"
#include "engine/Delegate.h"
#include "engine/reflection/Reflected.h"
#include "engine/reflection/Vec4.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace quellor {

class NavGraph;

class AStar {
    QUELLOR_REFLECT_ROOT(AStar)

    static constexpr std::uint32_t kFound = 0;
    static constexpr std::uint32_t kFailed = 1;
    static constexpr std::uint32_t kSearching = 2;

    using Heuristic = Delegate<float, const AStarNode&, const AStarNode&>;

    AStar(NavGraph* graph, Heuristic heuristic, const Vec4& start, const Vec4& goal);
    // A copy carries on the same search independently.
    AStar(const AStar& other);
    AStar& operator=(const AStar& other);
    virtual ~AStar() = default;

    // Finds the start and goal nodes and opens the start: 0 when the search is under way, 1 when
    // it cannot start (no visible node near either end, or one node for both).
    std::uint32_t Step();
    // Expands nodes until found (0), failed (1) or the stopwatch passes the budget (2). At least
    // one node is expanded per call; once found or failed, returns that at once.
    std::uint32_t Run(float budgetSeconds);
    // The edges from the start node to the goal node in travel order (empty until found).
    std::vector<Edge> GetPath() const { return m_path; }

    std::uint32_t GetState() const { return m_state; }
    std::uint32_t GetStartId() const { return m_startId; }
    std::uint32_t GetGoalId() const { return m_goalId; }
    // What the search knows of a node, or null when it has not reached it (test hook).
    const NodeRecord* FindRecord(std::uint32_t id) const;
    const IndexedHeap& GetOpenList() const { return m_open; }

private:
    // Expands the node of least f; true when it was the goal.
    bool Expand(const AStarNode& goal);
    void BuildPath();

    IndexedHeap m_open;
    std::unordered_map<std::uint32_t, NodeRecord> m_records;
    std::vector<Edge> m_path;
    Heuristic m_heuristic;
    Vec4 m_start;
    Vec4 m_goal;
    NavGraph* m_graph = nullptr;
    std::uint32_t m_startId = kNoNavNode;
    std::uint32_t m_goalId = kNoNavNode;
    std::uint32_t m_state = kFailed;
};

} // namespace quellor
