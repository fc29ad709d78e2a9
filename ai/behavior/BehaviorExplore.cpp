#include "ai/behavior/BehaviorExplore.h"

#include "ai/AISystem.h"
#include "ai/behavior/AIDataComponent.h"
#include "ai/pathfinding/PathPlanner.h"
#include "ai/steering/MotorSeekPosition.h"
#include "ai/steering/Steering.h"
#include "ai/steering/SteeringComponent.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "gameplay/AnimationControllerComponent.h"
#include "gameplay/CharacterMotor3D.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/RigidBodyComponent3D.h"

#include <cstdio>

namespace quellor {

BehaviorExplore::~BehaviorExplore()
{
    // The planner outlives a tree that is replaced: it must not call into a deleted leaf. During
    // the entity's teardown a planner already released is no longer found.
    if (!connected)
        return;
    if (const Entity* agent = GetEntity())
        if (auto* planner = agent->GetComponent<PathPlanner>()) {
            planner->pathFound.Disconnect(MakeDelegate(this, &BehaviorExplore::OnPathFound));
            planner->pathFailed.Disconnect(MakeDelegate(this, &BehaviorExplore::OnPathFailed));
        }
}

void BehaviorExplore::OnInitialize()
{
    PathPlanner* planner = Part<PathPlanner>();
    if (!planner) {
        state = kStopped;
        return;
    }
    planner->pathFound.Connect(MakeDelegate(this, &BehaviorExplore::OnPathFound), 0);
    planner->pathFailed.Connect(MakeDelegate(this, &BehaviorExplore::OnPathFailed), 0);
    connected = true;
    // An empty graph leaves the goal at the default node's place.
    AStarNode goal;
    if (AISystem* ai = DefaultSystem<AISystem>())
        ai->GetNavGraph().GetRandomNode(goal);
    Vec4 own;
    state = CentreOf(GetEntity(), own) && planner->RequestPath(own, goal.position) ? kWaiting : kStopped;
}

void BehaviorExplore::OnPathFound(const std::vector<Edge>& found)
{
    state = kFollowing;
    path = found;
    next = 0;
    if (path.empty()) {
        Stop();
        return;
    }
    // The bot first walks to the entry node of the path.
    if (!NodePosition(path.front().from, waypoint))
        return;
    SeekWaypoint();
}

void BehaviorExplore::OnPathFailed()
{
    state = kStopped;
}

BehaviorStatus BehaviorExplore::Update(float dt)
{
    if (firstTick) {
        firstTick = false;
        return BehaviorStatus::Failure;
    }
    if (const PlayerDataComponent* data = Part<PlayerDataComponent>(); data && data->m_dying)
        Abort();
    switch (state) {
    case kFollowing:
        return Step(dt);
    case kWaiting:
        return BehaviorStatus::Running;
    default:
        return BehaviorStatus::Failure;
    }
}

BehaviorStatus BehaviorExplore::Step(float)
{
    auto* steeringComponent = Part<SteeringComponent>();
    if (!steeringComponent || !steeringComponent->GetBehavior())
        return BehaviorStatus::Failure;
    if (steeringComponent->IsWithinRadiusSquared(waypoint, kReachedRadiusSquared)) {
        if (next >= path.size())
            return BehaviorStatus::Success;
        const Edge& edge = path[next];
        edgeType = edge.type;
        if (!NodePosition(edge.to, waypoint))
            return BehaviorStatus::Failure;
        SeekWaypoint();
        ++next;
    }
    if (MayAct()) {
        auto* motor = Part<CharacterMotor3D>();
        const Vec4 v = PlanarNormal(steeringComponent->GetOutput().linear);
        if (motor)
            motor->m_moveInput = Vec4(v.x, 0.0f, v.z, 0.0f);
        const PlayerDataComponent* data = Part<PlayerDataComponent>();
        if (motor && edgeType == 1 && data && data->m_onGround && !data->m_isLifted)
            motor->m_jumpRequested = true;
        if (const RigidBodyComponent3D* body = m_lookup.Body(GetEntity(), GetEntity())) {
            const Vec4 forward = steering::Normalize(body->GetForward());
            Aim(forward.x, forward.z);
            // The bot faces (-forward) along the move input, so what it attends to while
            // exploring, its forward axis, lies behind its direction of travel.
            if (auto* data = Part<AIDataComponent>())
                data->facing = forward;
        }
        SetAnimationMove(Vec4(v.x, 0.0f, v.z, 0.0f));
    }
    return BehaviorStatus::Running;
}

void BehaviorExplore::OnTerminate()
{
    if (auto* steeringComponent = Part<SteeringComponent>())
        steeringComponent->ClearBehavior();
    if (auto* motor = Part<CharacterMotor3D>())
        motor->m_moveInput = Vec4();
    state = kStopped;
}

bool BehaviorExplore::NodePosition(std::uint32_t id, Vec4& out)
{
    AISystem* ai = GetSystem<AISystem>();
    const AStarNode* node = ai ? ai->GetNavGraph().GetNode(id) : nullptr;
    if (!node) {
        std::printf("Warning: BehaviorExplore of \"%s\": navigation node %u has left the graph; the walk stops\n",
                    GetEntity() ? GetEntity()->GetName().c_str() : "?", id);
        Stop();
        return false;
    }
    out = node->position;
    return true;
}

void BehaviorExplore::Stop()
{
    state = kStopped;
    if (auto* steeringComponent = Part<SteeringComponent>())
        steeringComponent->ClearBehavior();
    if (auto* motor = Part<CharacterMotor3D>())
        motor->m_moveInput = Vec4();
}

void BehaviorExplore::SeekWaypoint()
{
    if (auto* steeringComponent = Part<SteeringComponent>())
        steeringComponent->SetBehavior(new MotorSeekPosition(waypoint));
}

} // namespace quellor
