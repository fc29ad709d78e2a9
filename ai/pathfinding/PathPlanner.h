#pragma once
// Plans paths for a computer player: a request starts a time-sliced A* search over the
// navigation graph of its space's AI system, which gives the planner one slice per frame; the
// result is announced once, through pathFound or pathFailed.
#include "ai/pathfinding/AStar.h"
#include "ai/pathfinding/Edge.h"
#include "engine/Component.h"
#include "engine/IntrusiveList.h"
#include "engine/Signal.h"
#include "engine/reflection/Vec4.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quellor {

class PathPlanner : public Component {
    QUELLOR_REFLECT_KEYED(PathPlanner)

    PathPlanner();
    PathPlanner(const PathPlanner&) = delete;
    PathPlanner& operator=(const PathPlanner&) = delete;
    ~PathPlanner() override;

    // Joins the AI system of the space "default"; idle.
    void Initialize() override;
    // Drops the search and leaves the AI system.
    void Uninitialize() override;

    // Discards any search and starts one from start to goal. False (and no signal) when it cannot
    // start: no AI system, no visible node near either end, or one node for both.
    bool RequestPath(const Vec4& start, const Vec4& goal);
    // One slice of the search, of budgetSeconds; emits the result when it ends. Emitting comes
    // last, so a handler may request anew.
    void Update(float budgetSeconds);

    std::uint32_t GetState() const { return m_state; }
    // Counters for measurements: requests made and search slices run since Initialize.
    std::uint64_t GetRequestCount() const { return m_requests; }
    std::uint64_t GetSliceCount() const { return m_slices; }
    const AStar* GetSearch() const { return m_search.get(); }

    Signal<const std::vector<Edge>&> pathFound;
    Signal<> pathFailed;
    IntrusiveLink<PathPlanner> m_aiLink;

private:
    std::unique_ptr<AStar> m_search;
    std::uint32_t m_state = AStar::kSearching;
    std::uint64_t m_requests = 0;
    std::uint64_t m_slices = 0;
};

} // namespace quellor
