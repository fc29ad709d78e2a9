#include "ai/pathfinding/PathPlanner.h"

#include "ai/AISystem.h"
#include "ai/pathfinding/EuclideanHeuristic.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/reflection/MetaRegistrar.h"

#include <cstdio>

namespace quellor {

QUELLOR_RECORD(PathPlanner, Component, DerivedMetaNotPODNoCopy, WithID) {}

PathPlanner::PathPlanner() = default;

PathPlanner::~PathPlanner() = default;

void PathPlanner::Initialize()
{
    m_state = AStar::kSearching;
    if (AISystem* system = DefaultSystem<AISystem>()) {
        system->RegisterPathPlanner(this);
        return;
    }
    Entity* entity = GetEntity();
    std::printf("Warning: no AISystem in the space \"default\"; the PathPlanner of \"%s\" is never stepped\n",
                entity ? entity->GetName().c_str() : "?");
}

void PathPlanner::Uninitialize()
{
    m_search.reset();
    m_state = AStar::kSearching;
    if (AISystem* system = DefaultSystem<AISystem>())
        system->UnregisterPathPlanner(this);
    m_aiLink.Unlink();
}

bool PathPlanner::RequestPath(const Vec4& start, const Vec4& goal)
{
    m_search.reset();
    m_state = AStar::kSearching;
    ++m_requests;
    AISystem* system = GetSystem<AISystem>();
    if (!system) {
        Entity* entity = GetEntity();
        std::printf("Warning: no AISystem in the space of \"%s\"; its path request fails\n",
                    entity ? entity->GetName().c_str() : "?");
        m_state = AStar::kFailed;
        return false;
    }
    m_search = std::make_unique<AStar>(&system->GetNavGraph(), AStar::Heuristic(&EuclideanHeuristic), start, goal);
    m_state = m_search->Step() == 0 ? AStar::kSearching : AStar::kFailed;
    return m_state == AStar::kSearching;
}

void PathPlanner::Update(float budgetSeconds)
{
    if (!m_search || m_state != AStar::kSearching)
        return;
    ++m_slices;
    m_state = m_search->Run(budgetSeconds);
    if (m_state == AStar::kFound) {
        // A handler may request anew, which replaces the search: the path is ours.
        const std::vector<Edge> path = m_search->GetPath();
        pathFound.Emit(path);
    } else if (m_state == AStar::kFailed) {
        pathFailed.Emit();
    }
}

} // namespace quellor
