#include "BoostSearch.h"

#include "ai/pathfinding/EuclideanHeuristic.h"

#include <boost/graph/adjacency_list.hpp>
#include <boost/graph/astar_search.hpp>

#include <vector>

namespace astarbench {

namespace {

using Graph = boost::adjacency_list<boost::vecS, boost::vecS, boost::directedS, boost::no_property,
                                    boost::property<boost::edge_weight_t, float>>;
using Vertex = boost::graph_traits<Graph>::vertex_descriptor;

struct GoalReached {};

// The same straight-line heuristic our search binds.
class Heuristic : public boost::astar_heuristic<Graph, float> {
public:
    Heuristic(const std::vector<quellor::AStarNode>& nodes, Vertex goal) : m_nodes(&nodes), m_goal(goal) {}
    float operator()(Vertex v) const { return quellor::EuclideanHeuristic((*m_nodes)[v], (*m_nodes)[m_goal]); }

private:
    const std::vector<quellor::AStarNode>* m_nodes;
    Vertex m_goal;
};

class StopAtGoal : public boost::default_astar_visitor {
public:
    explicit StopAtGoal(Vertex goal) : m_goal(goal) {}
    void examine_vertex(Vertex v, const Graph&) const
    {
        if (v == m_goal)
            throw GoalReached();
    }

private:
    Vertex m_goal;
};

} // namespace

struct BoostSearch::Impl {
    Graph graph;
    std::vector<quellor::AStarNode> nodes;
    std::vector<Vertex> predecessors;
    std::vector<float> distances;
};

BoostSearch::BoostSearch(const quellor::NavGraph& graph) : m_impl(std::make_unique<Impl>())
{
    const std::uint32_t bound = graph.GetIdBound();
    m_impl->graph = Graph(bound);
    m_impl->nodes.resize(bound);
    for (const auto& [id, node] : graph.GetNodes()) {
        m_impl->nodes[id] = node;
        for (const quellor::Edge& edge : graph.GetEdges(id))
            if (edge.to < bound && graph.GetNode(edge.to))
                boost::add_edge(id, edge.to, edge.cost, m_impl->graph);
    }
    m_impl->predecessors.resize(bound);
    m_impl->distances.resize(bound);
}

BoostSearch::~BoostSearch() = default;

float BoostSearch::Search(std::uint32_t start, std::uint32_t goal)
{
    try {
        boost::astar_search(m_impl->graph, start, Heuristic(m_impl->nodes, goal),
                            boost::predecessor_map(m_impl->predecessors.data())
                                .distance_map(m_impl->distances.data())
                                .visitor(StopAtGoal(goal)));
    } catch (const GoalReached&) {
        return m_impl->distances[goal];
    }
    return -1.0f;
}

} // namespace astarbench
