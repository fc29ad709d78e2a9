#include "ai/pathfinding/NavGraph.h"

#include "ai/pathfinding/WorldRayQuery.h"
#include "engine/Finite.h"
#include "engine/Random.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace quellor {

namespace {

const std::vector<Edge> kNoEdges;

} // namespace

NavGraph::NavGraph() : m_rayQuery(&WorldRayBlocked) {}

bool NavGraph::AddNode(const Vec4& position, float radius, std::uint32_t id)
{
    if (id > kMaxNodeId) {
        std::printf("Warning: navigation node id %u is above %u; the node is not added\n", id, kMaxNodeId);
        return false;
    }
    if (!IsFinite(position)) {
        std::printf("Warning: navigation node %u has a position that is not finite; the node is not added\n", id);
        return false;
    }
    return m_nodes.emplace(id, AStarNode(position, radius)).second;
}

bool NavGraph::AddEdge(std::uint32_t from, std::uint32_t to, float cost, std::uint32_t type)
{
    if (!std::isfinite(cost)) {
        std::printf("Warning: navigation edge %u -> %u has a cost that is not finite; the edge is not added\n", from,
                    to);
        return false;
    }
    m_edges[from].push_back(Edge(from, to, cost, type));
    return true;
}

void NavGraph::RemoveNode(std::uint32_t id)
{
    m_nodes.erase(id);
    auto edges = m_edges.find(id);
    if (edges != m_edges.end())
        edges->second.clear();
}

const AStarNode* NavGraph::GetNode(std::uint32_t id) const
{
    auto found = m_nodes.find(id);
    return found == m_nodes.end() ? nullptr : &found->second;
}

const std::vector<Edge>& NavGraph::GetEdges(std::uint32_t id) const
{
    auto found = m_edges.find(id);
    return found == m_edges.end() ? kNoEdges : found->second;
}

std::uint32_t NavGraph::GetNearestVisibleNode(const Vec4& position) const
{
    if (!IsFinite(position)) {
        std::printf("Warning: nearest navigation node asked for a position that is not finite; none found\n");
        return kNoNavNode;
    }
    struct Candidate {
        std::uint32_t id;
        double distance;
        Vec4 direction;
    };
    std::vector<Candidate> candidates;
    candidates.reserve(m_nodes.size());
    for (const auto& [id, node] : m_nodes) {
        // In double: differences of finite floats can overflow a float, and an infinite distance
        // would make the direction NaN.
        const double dx = static_cast<double>(node.position.x) - position.x;
        const double dy = static_cast<double>(node.position.y) - position.y;
        const double dz = static_cast<double>(node.position.z) - position.z;
        const double dw = static_cast<double>(node.position.w) - position.w;
        const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (distance == 0.0)
            return id;
        candidates.push_back({id, distance,
                              Vec4(static_cast<float>(dx / distance), static_cast<float>(dy / distance),
                                   static_cast<float>(dz / distance), static_cast<float>(dw / distance))});
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.distance < b.distance; });
    for (const Candidate& candidate : candidates) {
        const float reach = static_cast<float>(std::min(candidate.distance,
                                                        static_cast<double>(std::numeric_limits<float>::max())));
        if (!m_rayQuery(position, candidate.direction, reach))
            return candidate.id;
    }
    return kNoNavNode;
}

bool NavGraph::GetRandomNode(AStarNode& out) const
{
    if (m_nodes.empty())
        return false;
    auto it = m_nodes.begin();
    std::advance(it, static_cast<std::ptrdiff_t>(static_cast<unsigned>(Random()) % m_nodes.size()));
    out = it->second;
    return true;
}

void NavGraph::SetRayQuery(RayQuery query)
{
    m_rayQuery = query ? std::move(query) : RayQuery(&WorldRayBlocked);
}

} // namespace quellor
