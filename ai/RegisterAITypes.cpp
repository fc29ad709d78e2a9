#include "ai/RegisterAITypes.h"

#include <mutex>

#include "ai/AISystem.h"
#include "ai/AITargetingComponent.h"
#include "ai/AStarNodeComponent.h"
#include "ai/GraphEdge.h"
#include "ai/SensoryMemoryComponent.h"
#include "ai/State.h"
#include "ai/StateLink.h"
#include "ai/StateMachine.h"
#include "ai/behavior/AIDataComponent.h"
#include "ai/behavior/BehaviorTree.h"
#include "ai/behavior/BotBehavior.h"
#include "ai/fsm.h"
#include "ai/pathfinding/AStar.h"
#include "ai/pathfinding/PathPlanner.h"
#include "ai/steering/ArriveAtEntity.h"
#include "ai/steering/ArriveAtPosition.h"
#include "ai/steering/BlendedSteering.h"
#include "ai/steering/EvadeEntity.h"
#include "ai/steering/EvadePosition.h"
#include "ai/steering/FleeEntity.h"
#include "ai/steering/FleePosition.h"
#include "ai/steering/LookAtEntity.h"
#include "ai/steering/LookAtPosition.h"
#include "ai/steering/PrioritizedSteering.h"
#include "ai/steering/PursueEntity.h"
#include "ai/steering/PursuePosition.h"
#include "ai/steering/SeekEntity.h"
#include "ai/steering/SeekPosition.h"
#include "ai/steering/SteeringBehavior.h"
#include "ai/steering/SteeringComponent.h"
#include "ai/steering/Wander.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/RegisterGameplayTypes.h"

namespace quellor {

void RegisterAITypes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        RegisterGameplayTypes();
        MetaOf<AISystem>();
        MetaOf<StateMachine>();
        MetaOf<SteeringComponent>();
        MetaOf<State>();
        MetaOf<StateLink>();
        MetaOf<fsm>();
        MetaOf<SteeringBehavior>();
        MetaOf<SeekPosition>();
        MetaOf<SeekEntity>();
        MetaOf<FleePosition>();
        MetaOf<FleeEntity>();
        MetaOf<ArriveAtPosition>();
        MetaOf<ArriveAtEntity>();
        MetaOf<PursuePosition>();
        MetaOf<PursueEntity>();
        MetaOf<EvadePosition>();
        MetaOf<EvadeEntity>();
        MetaOf<LookAtPosition>();
        MetaOf<LookAtEntity>();
        MetaOf<Wander>();
        MetaOf<BlendedSteering>();
        MetaOf<PrioritizedSteering>();
        MetaOf<GraphEdge>();
        MetaOf<AStarNodeComponent>();
        MetaOf<AStar>();
        MetaOf<PathPlanner>();
        MetaOf<BehaviorTree>();
        MetaOf<AITargetingComponent>();
        MetaOf<SensoryMemoryComponent>();
        MetaOf<AIDataComponent>();
        MetaOf<BotBehavior>();
    });
}

} // namespace quellor
