#pragma once
// Levels with spawn points and player records, for the loader test and the level fuzz seeds.
namespace quellor::test::gameplay_levels {

// Two spawn points (one listed before its transform) and two players, one with a pad number
// no pad has and one with an empty team.
inline constexpr const char* kArena = R"(<?xml version="1.0"?>
<Arena>
  <redSpawn>
    <Components>
      <SpawnPointComponent>
        <m_team><string value="red"/></m_team>
        <m_popularity><int value="2"/></m_popularity>
      </SpawnPointComponent>
      <Transform3D>
        <m_x><float value="10"/></m_x>
        <m_y><float value="1"/></m_y>
      </Transform3D>
      <CharacterController/>
    </Components>
  </redSpawn>
  <blueSpawn>
    <Components>
      <Transform3D>
        <m_x><float value="-10"/></m_x>
      </Transform3D>
      <SpawnPointComponent>
        <m_team><string value="blue"/></m_team>
        <m_position><Vec4><x><float value="5"/></x><y><float value="6"/></y><z><float value="7"/></z></Vec4></m_position>
      </SpawnPointComponent>
    </Components>
  </blueSpawn>
  <player0>
    <Components>
      <Transform3D/>
      <PlayerDataComponent>
        <playerTeam><string value="red"/></playerTeam>
        <controllerID><int value="2147483647"/></controllerID>
        <currentScore><int value="3"/></currentScore>
        <canControl><bool value="0"/></canControl>
      </PlayerDataComponent>
    </Components>
  </player0>
  <player1>
    <Components>
      <PlayerDataComponent>
        <playerTeam><string value=""/></playerTeam>
        <controllerID><int value="-2147483648"/></controllerID>
        <xAimSpeed><float value="-1e30"/></xAimSpeed>
      </PlayerDataComponent>
    </Components>
  </player1>
</Arena>
)";

} // namespace quellor::test::gameplay_levels
