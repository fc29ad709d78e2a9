#pragma once
// Levels with AI components, shared by the AI tests and the level fuzz target's seeds: state
// machines whose initial state names the base State, no record, a record that is not a state,
// and nothing; and steering components, which have no members.
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

} // namespace quellor::test::ai_documents
