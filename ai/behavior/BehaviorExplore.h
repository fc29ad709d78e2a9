#pragma once
// Walks the bot to a random navigation node: asks the path planner for a path, then follows its
// edges node by node with a motor seek, jumping along jump edges. Succeeds on the tick it comes
// within 10 units of the final node; fails while no path is to be had, and on its very first
// tick. Only node ids are kept: a node that has left the graph stops the walk.
#include "ai/behavior/BotLeaf.h"
#include "ai/pathfinding/Edge.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quellor {

class BehaviorExplore : public BotLeaf {
public:
    enum State : std::uint32_t {
        kFollowing = 0,
        kWaiting = 1, // for the planner
        kStopped = 2, // no path, failed or terminated
    };
    // Within this squared distance across the ground a waypoint counts as reached.
    static constexpr float kReachedRadiusSquared = 100.0f;

    BehaviorExplore() : BotLeaf("BehaviorExplore") {}
    ~BehaviorExplore() override;

    void OnInitialize() override;
    BehaviorStatus Update(float dt) override;
    void OnTerminate() override;

    // The planner's results.
    void OnPathFound(const std::vector<Edge>& found);
    void OnPathFailed();
    // One tick of walking the path.
    BehaviorStatus Step(float dt);

    std::uint32_t GetState() const { return state; }
    const std::vector<Edge>& GetPath() const { return path; }
    std::size_t GetNext() const { return next; }
    const Vec4& GetWaypoint() const { return waypoint; }
    std::uint32_t GetEdgeType() const { return edgeType; }

private:
    // The node's position into out; false (the walk stopped) when the node has left the graph.
    bool NodePosition(std::uint32_t id, Vec4& out);
    // Steering cleared, move input zeroed, state stopped.
    void Stop();
    void SeekWaypoint();

    std::vector<Edge> path;
    std::size_t next = 0; // index into path; path.size() is the end
    Vec4 waypoint;
    std::uint32_t state = kStopped;
    std::uint32_t edgeType = 0;
    bool firstTick = true;
    bool connected = false;
};

} // namespace quellor
