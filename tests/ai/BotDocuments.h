#pragma once
// A computer player and the arena it plays in, as documents: the bot tests write them into
// their world's folder, the level fuzz target takes them as seeds and the AI benchmark plays
// them. The bot carries what its set-up action needs (body, player data, motor, the generated
// character with its animation controller, the lift beam, the tuning) and the ActionComponent
// that starts "BotBehavior"; no ThirdPersonCameraComponent, which only people wear.
//
// The arena: an 80 × 80 floor with its top at y 0, walls 60 high and 10 thick around it under a roof, so
// that no knock-back or lift throws anyone out, a cover block in the middle, eight navigation nodes in a ring around the cover (each linked to both neighbours,
// and a jump edge from node 1 to node 3) and one spawn point for each of the teams "red",
// "orange" and "purple".
namespace quellor::test::bot_documents {

inline const char* const kBotArchetypeFile = "ai_bot.arch";
inline const char* const kArenaFile = "bot_arena.ql";
inline const char* const kArenaTeams[] = {"red", "orange", "purple"};
inline const char* const kCharacterModel = "base_idle.model";

inline const char* const kBotArchetype = R"(<?xml version="1.0"?>
<ai_bot>
  <Transform3D/>
  <RigidBodyComponent3D/>
  <PlayerDataComponent/>
  <CharacterMotor3D/>
  <GraphicsComponent3DSkinned><m_modelName><string value="base_idle.model"/></m_modelName></GraphicsComponent3DSkinned>
  <AnimationControllerComponent/>
  <LiftComponent/>
  <AIDataComponent/>
  <ActionComponent><m_name><string value="BotBehavior"/></m_name></ActionComponent>
</ai_bot>
)";

inline const char* const kArena = R"(<?xml version="1.0"?>
<level>
  <floor>
    <components>
      <Transform3D><m_x><float value="0"/></m_x><m_y><float value="-1"/></m_y><m_z><float value="0"/></m_z></Transform3D>
      <RigidBodyComponent3D><m_type><int value="0"/></m_type></RigidBodyComponent3D>
      <BoxColliderComponent3D>
        <m_halfExtents><Vec4><x><float value="40"/></x><y><float value="1"/></y><z><float value="40"/></z></Vec4></m_halfExtents>
      </BoxColliderComponent3D>
    </components>
  </floor>
  <wallNorth>
    <components>
      <Transform3D><m_x><float value="0"/></m_x><m_y><float value="30"/></m_y><m_z><float value="45"/></m_z></Transform3D>
      <RigidBodyComponent3D><m_type><int value="0"/></m_type></RigidBodyComponent3D>
      <BoxColliderComponent3D>
        <m_halfExtents><Vec4><x><float value="50"/></x><y><float value="30"/></y><z><float value="5"/></z></Vec4></m_halfExtents>
      </BoxColliderComponent3D>
    </components>
  </wallNorth>
  <wallSouth>
    <components>
      <Transform3D><m_x><float value="0"/></m_x><m_y><float value="30"/></m_y><m_z><float value="-45"/></m_z></Transform3D>
      <RigidBodyComponent3D><m_type><int value="0"/></m_type></RigidBodyComponent3D>
      <BoxColliderComponent3D>
        <m_halfExtents><Vec4><x><float value="50"/></x><y><float value="30"/></y><z><float value="5"/></z></Vec4></m_halfExtents>
      </BoxColliderComponent3D>
    </components>
  </wallSouth>
  <wallEast>
    <components>
      <Transform3D><m_x><float value="45"/></m_x><m_y><float value="30"/></m_y><m_z><float value="0"/></m_z></Transform3D>
      <RigidBodyComponent3D><m_type><int value="0"/></m_type></RigidBodyComponent3D>
      <BoxColliderComponent3D>
        <m_halfExtents><Vec4><x><float value="5"/></x><y><float value="30"/></y><z><float value="50"/></z></Vec4></m_halfExtents>
      </BoxColliderComponent3D>
    </components>
  </wallEast>
  <wallWest>
    <components>
      <Transform3D><m_x><float value="-45"/></m_x><m_y><float value="30"/></m_y><m_z><float value="0"/></m_z></Transform3D>
      <RigidBodyComponent3D><m_type><int value="0"/></m_type></RigidBodyComponent3D>
      <BoxColliderComponent3D>
        <m_halfExtents><Vec4><x><float value="5"/></x><y><float value="30"/></y><z><float value="50"/></z></Vec4></m_halfExtents>
      </BoxColliderComponent3D>
    </components>
  </wallWest>
  <roof>
    <components>
      <Transform3D><m_x><float value="0"/></m_x><m_y><float value="61"/></m_y><m_z><float value="0"/></m_z></Transform3D>
      <RigidBodyComponent3D><m_type><int value="0"/></m_type></RigidBodyComponent3D>
      <BoxColliderComponent3D>
        <m_halfExtents><Vec4><x><float value="50"/></x><y><float value="1"/></y><z><float value="50"/></z></Vec4></m_halfExtents>
      </BoxColliderComponent3D>
    </components>
  </roof>
  <cover>
    <components>
      <Transform3D><m_x><float value="0"/></m_x><m_y><float value="3"/></m_y><m_z><float value="0"/></m_z></Transform3D>
      <RigidBodyComponent3D><m_type><int value="0"/></m_type></RigidBodyComponent3D>
      <BoxColliderComponent3D>
        <m_halfExtents><Vec4><x><float value="4"/></x><y><float value="3"/></y><z><float value="4"/></z></Vec4></m_halfExtents>
      </BoxColliderComponent3D>
    </components>
  </cover>
  <node0>
    <components>
      <Transform3D><m_x><float value="-25"/></m_x><m_y><float value="1"/></m_y><m_z><float value="-25"/></m_z></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="0"/></m_id>
        <m_radius><float value="2"/></m_radius>
        <m_edge0><GraphEdge><to><int value="1"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge0>
        <m_edge1><GraphEdge><to><int value="7"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge1>
      </AStarNodeComponent>
    </components>
  </node0>
  <node1>
    <components>
      <Transform3D><m_x><float value="0"/></m_x><m_y><float value="1"/></m_y><m_z><float value="-28"/></m_z></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="1"/></m_id>
        <m_radius><float value="2"/></m_radius>
        <m_edge0><GraphEdge><to><int value="2"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge0>
        <m_edge1><GraphEdge><to><int value="0"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge1>
        <m_edge2><GraphEdge><to><int value="3"/></to><cost><float value="30.0"/></cost><type><int value="1"/></type></GraphEdge></m_edge2>
      </AStarNodeComponent>
    </components>
  </node1>
  <node2>
    <components>
      <Transform3D><m_x><float value="25"/></m_x><m_y><float value="1"/></m_y><m_z><float value="-25"/></m_z></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="2"/></m_id>
        <m_radius><float value="2"/></m_radius>
        <m_edge0><GraphEdge><to><int value="3"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge0>
        <m_edge1><GraphEdge><to><int value="1"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge1>
      </AStarNodeComponent>
    </components>
  </node2>
  <node3>
    <components>
      <Transform3D><m_x><float value="28"/></m_x><m_y><float value="1"/></m_y><m_z><float value="0"/></m_z></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="3"/></m_id>
        <m_radius><float value="2"/></m_radius>
        <m_edge0><GraphEdge><to><int value="4"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge0>
        <m_edge1><GraphEdge><to><int value="2"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge1>
      </AStarNodeComponent>
    </components>
  </node3>
  <node4>
    <components>
      <Transform3D><m_x><float value="25"/></m_x><m_y><float value="1"/></m_y><m_z><float value="25"/></m_z></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="4"/></m_id>
        <m_radius><float value="2"/></m_radius>
        <m_edge0><GraphEdge><to><int value="5"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge0>
        <m_edge1><GraphEdge><to><int value="3"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge1>
      </AStarNodeComponent>
    </components>
  </node4>
  <node5>
    <components>
      <Transform3D><m_x><float value="0"/></m_x><m_y><float value="1"/></m_y><m_z><float value="28"/></m_z></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="5"/></m_id>
        <m_radius><float value="2"/></m_radius>
        <m_edge0><GraphEdge><to><int value="6"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge0>
        <m_edge1><GraphEdge><to><int value="4"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge1>
      </AStarNodeComponent>
    </components>
  </node5>
  <node6>
    <components>
      <Transform3D><m_x><float value="-25"/></m_x><m_y><float value="1"/></m_y><m_z><float value="25"/></m_z></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="6"/></m_id>
        <m_radius><float value="2"/></m_radius>
        <m_edge0><GraphEdge><to><int value="7"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge0>
        <m_edge1><GraphEdge><to><int value="5"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge1>
      </AStarNodeComponent>
    </components>
  </node6>
  <node7>
    <components>
      <Transform3D><m_x><float value="-28"/></m_x><m_y><float value="1"/></m_y><m_z><float value="0"/></m_z></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="7"/></m_id>
        <m_radius><float value="2"/></m_radius>
        <m_edge0><GraphEdge><to><int value="0"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge0>
        <m_edge1><GraphEdge><to><int value="6"/></to><cost><float value="25.2"/></cost></GraphEdge></m_edge1>
      </AStarNodeComponent>
    </components>
  </node7>
  <redSpawn>
    <components>
      <Transform3D><m_x><float value="-30"/></m_x><m_z><float value="-30"/></m_z></Transform3D>
      <SpawnPointComponent><m_team><string value="red"/></m_team></SpawnPointComponent>
    </components>
  </redSpawn>
  <orangeSpawn>
    <components>
      <Transform3D><m_x><float value="30"/></m_x><m_z><float value="-30"/></m_z></Transform3D>
      <SpawnPointComponent><m_team><string value="orange"/></m_team></SpawnPointComponent>
    </components>
  </orangeSpawn>
  <purpleSpawn>
    <components>
      <Transform3D><m_x><float value="0"/></m_x><m_z><float value="30"/></m_z></Transform3D>
      <SpawnPointComponent><m_team><string value="purple"/></m_team></SpawnPointComponent>
    </components>
  </purpleSpawn>
</level>
)";

} // namespace quellor::test::bot_documents
