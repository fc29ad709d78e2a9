#pragma once
// The navigation graph of a level: nodes by id, each with its outgoing directed edges. It finds
// the nearest node visible from a position (where every search enters and leaves the graph) and
// picks random nodes for wandering.
#include "ai/pathfinding/AStarNode.h"
#include "ai/pathfinding/Edge.h"
#include "engine/reflection/Vec4.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

namespace quellor {

class NavGraph {
public:
    // Ids above this are refused, so that the open list of a search stays small.
    static constexpr std::uint32_t kMaxNodeId = 65535;

    // Whether something solid lies along the ray within maxDistance. The direction has unit
    // length. Tests put a stub here; by default the physics of the space "default" answers, and
    // without a physics system every ray misses.
    using RayQuery = std::function<bool(const Vec4& origin, const Vec4& direction, float maxDistance)>;

    NavGraph();

    // Adds a node; a node already under the id stays. Refuses ids above kMaxNodeId and positions
    // that are not finite (with a warning). True when this call added the node.
    bool AddNode(const Vec4& position, float radius, std::uint32_t id);
    // Appends a directed edge to from's list. Neither end has to be a node; duplicates stay. A
    // cost that is not finite is refused (with a warning).
    bool AddEdge(std::uint32_t from, std::uint32_t to, float cost, std::uint32_t type);
    // Erases the node and empties its outgoing edges; edges into it from other nodes stay.
    void RemoveNode(std::uint32_t id);

    // The node under id, or null.
    const AStarNode* GetNode(std::uint32_t id) const;
    // The outgoing edges of id in insertion order; empty for an id without edges.
    const std::vector<Edge>& GetEdges(std::uint32_t id) const;

    // The nearest node whose straight line from the position hits nothing, or kNoNavNode.
    std::uint32_t GetNearestVisibleNode(const Vec4& position) const;
    // A random node into out; false (out untouched) when there are none.
    bool GetRandomNode(AStarNode& out) const;

    std::size_t GetNodeCount() const { return m_nodes.size(); }
    // One past the largest node id, 0 for an empty graph: the size an open list indexed by id needs.
    std::uint32_t GetIdBound() const { return m_nodes.empty() ? 0u : m_nodes.rbegin()->first + 1u; }
    const std::map<std::uint32_t, AStarNode>& GetNodes() const { return m_nodes; }

    // Test hook: the ray query; an empty one restores the default.
    void SetRayQuery(RayQuery query);

private:
    std::map<std::uint32_t, AStarNode> m_nodes;
    std::map<std::uint32_t, std::vector<Edge>> m_edges;
    RayQuery m_rayQuery;
};

} // namespace quellor
