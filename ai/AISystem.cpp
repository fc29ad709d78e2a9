#include "ai/AISystem.h"

#include "engine/Engine.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(AISystem, System, DerivedMetaNotPODNoCopy, WithID) {}

AISystem::AISystem()
{
    m_nodeComponentById.max_load_factor(1.0f);
    m_nodeComponentById.rehash(8);
}

AISystem::~AISystem() = default;

void AISystem::Update(float dt)
{
    m_stateMachines.ForEach([dt](StateMachine* machine) { machine->Update(dt); });
    m_steering.ForEach([dt](SteeringComponent* steering) { steering->Update(dt); });
    m_behaviorTrees.ForEach([dt](BehaviorTree* tree) { tree->Update(dt); });
    // A fixed slice per planner, not the frame time.
    m_planners.ForEach([](PathPlanner* planner) { planner->Update(kPlannerBudgetSeconds); });
    m_targeting.ForEach([dt](AITargetingComponent* targeting) { targeting->Update(dt); });
    m_sensoryMemories.ForEach([dt](SensoryMemoryComponent* memory) { memory->Update(dt); });
}

void AISystem::RegisterStateMachine(StateMachine* machine)
{
    if (machine)
        m_stateMachines.PushBack(machine);
}

void AISystem::RegisterSteeringComponent(SteeringComponent* steering)
{
    if (steering)
        m_steering.PushBack(steering);
}

void AISystem::UnregisterStateMachine(StateMachine* machine)
{
    if (machine && m_stateMachines.Contains(machine))
        StateMachineList::Remove(machine);
}

void AISystem::UnregisterSteeringComponent(SteeringComponent* steering)
{
    if (steering && m_steering.Contains(steering))
        SteeringList::Remove(steering);
}

void AISystem::RegisterAStarNodeComponent(AStarNodeComponent* node)
{
    if (node)
        m_nodeComponents.PushBack(node);
}

void AISystem::UnregisterAStarNodeComponent(AStarNodeComponent* node)
{
    if (node && m_nodeComponents.Contains(node))
        NodeComponentList::Remove(node);
}

void AISystem::RegisterPathPlanner(PathPlanner* planner)
{
    if (planner)
        m_planners.PushBack(planner);
}

void AISystem::UnregisterPathPlanner(PathPlanner* planner)
{
    if (planner && m_planners.Contains(planner))
        PathPlannerList::Remove(planner);
}

bool AISystem::AddNode(const Vec4& position, float radius, std::uint32_t id)
{
    return m_navGraph.AddNode(position, radius, id);
}

bool AISystem::AddEdge(std::uint32_t from, std::uint32_t to, float cost, std::uint32_t type)
{
    return m_navGraph.AddEdge(from, to, cost, type);
}

void AISystem::RemoveNode(std::uint32_t id)
{
    m_navGraph.RemoveNode(id);
}

void AISystem::RegisterNodeComponent(std::uint32_t id, AStarNodeComponent* node)
{
    if (node)
        m_nodeComponentById.emplace(id, node);
}

bool AISystem::GetNodeComponent(std::uint32_t id, AStarNodeComponent*& out) const
{
    auto found = m_nodeComponentById.find(id);
    if (found == m_nodeComponentById.end())
        return false;
    out = found->second;
    return true;
}

void AISystem::UnregisterNodeComponent(std::uint32_t id)
{
    m_nodeComponentById.erase(id);
}

void AISystem::ForgetNodeComponent(const AStarNodeComponent* node)
{
    std::erase_if(m_nodeComponentById, [node](const auto& entry) { return entry.second == node; });
}

void AISystem::RegisterBehaviorTree(BehaviorTree* tree)
{
    if (tree)
        m_behaviorTrees.PushBack(tree);
}

void AISystem::UnregisterBehaviorTree(BehaviorTree* tree)
{
    if (tree && m_behaviorTrees.Contains(tree))
        BehaviorTreeList::Remove(tree);
}

void AISystem::RegisterAITargetingComponent(AITargetingComponent* targeting)
{
    if (targeting)
        m_targeting.PushBack(targeting);
}

void AISystem::UnregisterAITargetingComponent(AITargetingComponent* targeting)
{
    if (targeting && m_targeting.Contains(targeting))
        TargetingList::Remove(targeting);
}

void AISystem::RegisterSensoryMemoryComponent(SensoryMemoryComponent* memory)
{
    if (memory)
        m_sensoryMemories.PushBack(memory);
}

void AISystem::UnregisterSensoryMemoryComponent(SensoryMemoryComponent* memory)
{
    if (memory && m_sensoryMemories.Contains(memory))
        SensoryMemoryList::Remove(memory);
}

} // namespace quellor
