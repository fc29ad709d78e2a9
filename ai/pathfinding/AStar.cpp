#include "ai/pathfinding/AStar.h"

#include "ai/pathfinding/NavGraph.h"
#include "engine/Stopwatch.h"
#include "engine/reflection/MetaRegistrar.h"

#include <algorithm>

namespace quellor {

QUELLOR_RECORD(AStar, NoBase, DerivedMetaNotPODNoDef, NoID) {}

namespace {

void ShapeRecordMap(std::unordered_map<std::uint32_t, NodeRecord>& records)
{
    records.max_load_factor(1.0f);
    records.rehash(8);
}

} // namespace

AStar::AStar(NavGraph* graph, Heuristic heuristic, const Vec4& start, const Vec4& goal)
    : m_heuristic(std::move(heuristic)), m_start(start), m_goal(goal), m_graph(graph)
{
    ShapeRecordMap(m_records);
}

AStar::AStar(const AStar& other)
    : m_open(other.m_open), m_records(other.m_records), m_path(other.m_path), m_heuristic(other.m_heuristic),
      m_start(other.m_start), m_goal(other.m_goal), m_graph(other.m_graph), m_startId(other.m_startId),
      m_goalId(other.m_goalId), m_state(other.m_state)
{
    // The copied open list still points at the other search's records.
    m_open.Rebind(m_records);
}

AStar& AStar::operator=(const AStar& other)
{
    if (this != &other) {
        AStar copy(other);
        m_open = std::move(copy.m_open);
        m_records = std::move(copy.m_records); // moving a map keeps its elements where they are
        m_path = std::move(copy.m_path);
        m_heuristic = std::move(copy.m_heuristic);
        m_start = copy.m_start;
        m_goal = copy.m_goal;
        m_graph = copy.m_graph;
        m_startId = copy.m_startId;
        m_goalId = copy.m_goalId;
        m_state = copy.m_state;
    }
    return *this;
}

const NodeRecord* AStar::FindRecord(std::uint32_t id) const
{
    auto found = m_records.find(id);
    return found == m_records.end() ? nullptr : &found->second;
}

std::uint32_t AStar::Step()
{
    m_records.clear();
    m_path.clear();
    m_state = kFailed;
    if (!m_graph)
        return m_state;
    m_startId = m_graph->GetNearestVisibleNode(m_start);
    m_goalId = m_graph->GetNearestVisibleNode(m_goal);
    if (m_startId == kNoNavNode || m_goalId == kNoNavNode || m_startId == m_goalId)
        return m_state;

    // Sized by the largest id rather than the node count, so that sparse ids fit.
    m_open.Reset(m_graph->GetIdBound());
    NodeRecord& start = m_records[m_startId];
    start.id = m_startId;
    start.parent = Edge(m_startId, m_startId, 0.0f, 0);
    start.g = 0.0f;
    start.f = m_heuristic(*m_graph->GetNode(m_startId), *m_graph->GetNode(m_goalId));
    start.listState = NodeRecord::kOpen;
    m_open.Push(&start);
    m_state = kSearching;
    return 0;
}

std::uint32_t AStar::Run(float budgetSeconds)
{
    if (m_state != kSearching)
        return m_state;
    // The ends may have left the graph since the last call (their components went away).
    // Nothing changes the graph within a call.
    const AStarNode* goal = m_graph->GetNode(m_goalId);
    if (!goal || !m_graph->GetNode(m_startId)) {
        m_state = kFailed;
        return m_state;
    }
    Stopwatch stopwatch;
    stopwatch.Start();
    for (;;) {
        if (m_open.Empty()) {
            m_state = kFailed;
            return m_state;
        }
        if (Expand(*goal)) {
            m_state = kFound;
            BuildPath();
            return m_state;
        }
        if (stopwatch.Elapsed() > budgetSeconds)
            return m_state;
    }
}

bool AStar::Expand(const AStarNode& goal)
{
    NodeRecord* record = m_open.Pop();
    record->listState = NodeRecord::kClosed;
    if (record->id == m_goalId)
        return true;
    const float g = record->g;
    for (const Edge& edge : m_graph->GetEdges(record->id)) {
        const float newG = g + edge.cost;
        auto known = m_records.find(edge.to);
        if (known != m_records.end()) {
            // Closed nodes are never reopened; an open one takes a strictly cheaper route.
            NodeRecord& next = known->second;
            if (next.listState != NodeRecord::kOpen || !(next.g > newG) || !m_graph->GetNode(edge.to))
                continue;
            next.parent = edge;
            next.f = (next.f - next.g) + newG;
            next.g = newG;
            m_open.DecreaseKey(next.id);
            continue;
        }
        // An edge may lead to an id that is no node (yet, or any more), or to one added after the
        // open list was sized: neither can be searched.
        const AStarNode* target = m_graph->GetNode(edge.to);
        if (!target || !m_open.Covers(edge.to))
            continue;
        NodeRecord& next = m_records[edge.to];
        next.id = edge.to;
        next.parent = edge;
        next.g = newG;
        next.f = newG + m_heuristic(*target, goal);
        next.listState = NodeRecord::kOpen;
        m_open.Push(&next);
    }
    return false;
}

void AStar::BuildPath()
{
    m_path.clear();
    for (std::uint32_t current = m_goalId; current != m_startId;) {
        const Edge& parent = m_records.at(current).parent;
        m_path.push_back(parent);
        current = parent.from;
    }
    std::reverse(m_path.begin(), m_path.end());
}

} // namespace quellor
