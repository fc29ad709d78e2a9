#pragma once
// Levels with AI components, shared by the AI tests and the level fuzz target's seeds: state
// machines whose initial state names the base State, no record, a record that is not a state,
// and nothing; steering components, which have no members; and a computer player's parts (bot
// tuning, sensory memory, targeting, tree) in an archetype with every tuning value and in a level
// with hostile values.
namespace quellor::test::ai_documents {

inline const char* const kStateMachines = R"(<?xml version="1.0"?>
<level>
  <thinker>
    <components>
      <Transform3D/>
      <StateMachine><m_initStateName><string value="State"/></m_initStateName></StateMachine>
    </components>
  </thinker>
  <dreamer>
    <components>
      <StateMachine><m_initStateName><string value="NoSuchState"/></m_initStateName></StateMachine>
    </components>
  </dreamer>
  <vector>
    <components>
      <StateMachine><m_initStateName><string value="Vec4"/></m_initStateName></StateMachine>
    </components>
  </vector>
  <blank>
    <components>
      <StateMachine><m_initStateName><string value=""/></m_initStateName></StateMachine>
    </components>
  </blank>
  <bare>
    <components>
      <StateMachine/>
    </components>
  </bare>
</level>
)";

inline const char* const kSteering = R"(<?xml version="1.0"?>
<level>
  <walker>
    <components>
      <Transform3D><m_x><float value="2"/></m_x></Transform3D>
      <RigidBodyComponent3D/>
      <SteeringComponent/>
      <StateMachine><m_initStateName><string value="State"/></m_initStateName></StateMachine>
    </components>
  </walker>
  <drifter>
    <components>
      <SteeringComponent><m_unknown><float value="1"/></m_unknown></SteeringComponent>
    </components>
  </drifter>
</level>
)";

// Every tuning value under its name, without a prefix, and the memory's two members.
inline const char* const kBotArchetype = R"(<archetype>
  <Transform3D/>
  <AIDataComponent>
    <reactionTime><float value="0.25"/></reactionTime>
    <maxVerticalAimAngle><float value="0.5"/></maxVerticalAimAngle>
    <accuracy><float value="0.125"/></accuracy>
    <liftBeamAimSpeed><float value="0.75"/></liftBeamAimSpeed>
    <liftAimInterval><float value="2.5"/></liftAimInterval>
    <liftBias><float value="0.0625"/></liftBias>
    <orbBias><float value="4"/></orbBias>
  </AIDataComponent>
  <SensoryMemoryComponent>
    <m_fov><float value="1.5"/></m_fov>
    <m_memorySpan><float value="0.5"/></m_memorySpan>
  </SensoryMemoryComponent>
  <AITargetingComponent/>
  <BehaviorTree/>
</archetype>
)";

// Values a file may hold that sensing and aiming must survive: prefixed names (unknown),
// not-a-number and infinite values (refused by the reader), a negative span and accuracy,
// members the components do not have, and parts on an entity without a body or player record.
inline const char* const kHostileBotParts = R"(<?xml version="1.0"?>
<level>
  <hostile>
    <components>
      <Transform3D/>
      <AIDataComponent>
        <m_accuracy><float value="0.5"/></m_accuracy>
        <accuracy><float value="-3"/></accuracy>
        <reactionTime><float value="nan"/></reactionTime>
        <maxVerticalAimAngle><float value="inf"/></maxVerticalAimAngle>
        <facing><Vec4><x><float value="1"/></x></Vec4></facing>
      </AIDataComponent>
      <SensoryMemoryComponent>
        <m_memorySpan><float value="-1"/></m_memorySpan>
        <m_fov><string value="wide"/></m_fov>
      </SensoryMemoryComponent>
      <AITargetingComponent><target><string value="hostile"/></target></AITargetingComponent>
      <BehaviorTree><root><string value="Selector"/></root></BehaviorTree>
    </components>
  </hostile>
  <forgetful>
    <components>
      <SensoryMemoryComponent><m_memorySpan><float value="1e39"/></m_memorySpan></SensoryMemoryComponent>
      <AITargetingComponent/>
    </components>
  </forgetful>
</level>
)";

} // namespace quellor::test::ai_documents
