#pragma once
// The engine system that drives the AI components of its space once a frame, in a fixed order
// of passes: every StateMachine, then every SteeringComponent, every BehaviorTree (with the frame
// time), every PathPlanner, every AITargetingComponent and, last, every SensoryMemoryComponent,
// so targeting works on the memory of the previous frame. Components join its lists in their
// Initialize and leave in their Uninitialize; it owns none of them and decides nothing.
// The lists are intrusive, so a frame allocates nothing. It also owns the level's navigation
// graph, with the node components that placed its nodes by id, and gives every PathPlanner a
// fixed search slice per frame.
#include "ai/AITargetingComponent.h"
#include "ai/AStarNodeComponent.h"
#include "ai/SensoryMemoryComponent.h"
#include "ai/StateMachine.h"
#include "ai/behavior/BehaviorTree.h"
#include "ai/pathfinding/NavGraph.h"
#include "ai/pathfinding/PathPlanner.h"
#include "ai/steering/SteeringComponent.h"
#include "engine/IntrusiveList.h"
#include "engine/System.h"

#include <cstdint>
#include <unordered_map>

namespace quellor {

class AISystem : public System {
    QUELLOR_REFLECT_KEYED(AISystem)

    AISystem();
    AISystem(const AISystem&) = delete;
    AISystem& operator=(const AISystem&) = delete;
    ~AISystem() override;

    // The passes, each walking its list from head to tail. A component registered during a
    // pass is reached in it; components that leave their list during a step (the stepping one
    // or any other) do not break the walk and are not stepped after they left.
    void Update(float dt) override;

    // Appends at the tail, so each list runs in registration order; null is ignored.
    void RegisterStateMachine(StateMachine* machine);
    void RegisterSteeringComponent(SteeringComponent* steering);
    // Unlinks a component of this system's list; anything else is left alone.
    void UnregisterStateMachine(StateMachine* machine);
    void UnregisterSteeringComponent(SteeringComponent* steering);
    void RegisterBehaviorTree(BehaviorTree* tree);
    void UnregisterBehaviorTree(BehaviorTree* tree);
    void RegisterAITargetingComponent(AITargetingComponent* targeting);
    void UnregisterAITargetingComponent(AITargetingComponent* targeting);
    void RegisterSensoryMemoryComponent(SensoryMemoryComponent* memory);
    void UnregisterSensoryMemoryComponent(SensoryMemoryComponent* memory);

    void RegisterAStarNodeComponent(AStarNodeComponent* node);
    void UnregisterAStarNodeComponent(AStarNodeComponent* node);
    void RegisterPathPlanner(PathPlanner* planner);
    void UnregisterPathPlanner(PathPlanner* planner);

    // The navigation graph of the level, and forwarders to its editing operations.
    NavGraph& GetNavGraph() { return m_navGraph; }
    bool AddNode(const Vec4& position, float radius, std::uint32_t id);
    bool AddEdge(std::uint32_t from, std::uint32_t to, float cost, std::uint32_t type);
    void RemoveNode(std::uint32_t id);

    // The node component that placed a node id; an id already present keeps its first component.
    void RegisterNodeComponent(std::uint32_t id, AStarNodeComponent* node);
    bool GetNodeComponent(std::uint32_t id, AStarNodeComponent*& out) const;
    void UnregisterNodeComponent(std::uint32_t id);
    // Erases every id that names the component (one going away without leaving).
    void ForgetNodeComponent(const AStarNodeComponent* node);

    using StateMachineList = IntrusiveList<StateMachine, &StateMachine::m_aiLink>;
    using SteeringList = IntrusiveList<SteeringComponent, &SteeringComponent::m_aiLink>;
    const StateMachineList& GetStateMachines() const { return m_stateMachines; }
    const SteeringList& GetSteeringComponents() const { return m_steering; }
    using BehaviorTreeList = IntrusiveList<BehaviorTree, &BehaviorTree::m_aiLink>;
    using TargetingList = IntrusiveList<AITargetingComponent, &AITargetingComponent::m_aiLink>;
    using SensoryMemoryList = IntrusiveList<SensoryMemoryComponent, &SensoryMemoryComponent::m_aiLink>;
    const BehaviorTreeList& GetBehaviorTrees() const { return m_behaviorTrees; }
    const TargetingList& GetTargetingComponents() const { return m_targeting; }
    const SensoryMemoryList& GetSensoryMemories() const { return m_sensoryMemories; }
    using NodeComponentList = IntrusiveList<AStarNodeComponent, &AStarNodeComponent::m_aiLink>;
    using PathPlannerList = IntrusiveList<PathPlanner, &PathPlanner::m_aiLink>;
    const NodeComponentList& GetNodeComponents() const { return m_nodeComponents; }
    const PathPlannerList& GetPathPlanners() const { return m_planners; }

    // The time each path planner may search per frame, whatever the frame time.
    static constexpr float kPlannerBudgetSeconds = 0.006f;

private:
    StateMachineList m_stateMachines;
    SteeringList m_steering;
    BehaviorTreeList m_behaviorTrees;
    NodeComponentList m_nodeComponents;
    PathPlannerList m_planners;
    TargetingList m_targeting;
    SensoryMemoryList m_sensoryMemories;
    std::unordered_map<std::uint32_t, AStarNodeComponent*> m_nodeComponentById;
    NavGraph m_navGraph;
};

} // namespace quellor
