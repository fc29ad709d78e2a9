#pragma once
// Levels with spawn points and player records, and player archetypes with a character motor,
// for the loader tests and the level fuzz seeds.
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

// A player whose motor sets every reflected field, each to its own value.
inline constexpr const char* kMotorPlayer = R"(<?xml version="1.0"?>
<Player>
  <Transform3D/>
  <RigidBodyComponent3D/>
  <PlayerDataComponent>
    <sphereCollRadius><float value="2.5"/></sphereCollRadius>
  </PlayerDataComponent>
  <CharacterMotor3D>
    <m_speed><float value="11"/></m_speed>
    <m_chargSpeed><float value="4"/></m_chargSpeed>
    <m_accelMaxChange><float value="30"/></m_accelMaxChange>
    <m_maxFallSpeed><float value="60"/></m_maxFallSpeed>
    <m_slopeLimit><float value="50"/></m_slopeLimit>
    <m_jumpDir><Vec4><x><float value="0.5"/></x><y><float value="2"/></y><z><float value="-0.5"/></z></Vec4></m_jumpDir>
    <m_gravity><float value="12"/></m_gravity>
    <m_jumpHeight><float value="2"/></m_jumpHeight>
    <m_snapShotDamping><float value="0.5"/></m_snapShotDamping>
    <m_airControlPercent><float value="0.25"/></m_airControlPercent>
    <m_stepFactor><float value="0.3"/></m_stepFactor>
    <m_ellipseA><float value="1.5"/></m_ellipseA>
    <m_ellipseB><float value="4.5"/></m_ellipseB>
    <m_ellipseC><float value="1.75"/></m_ellipseC>
  </CharacterMotor3D>
</Player>
)";

// A motor tuned with zero, negative and huge radii, speeds and gravity and a negative jump
// height (the reader refuses NaN).
inline constexpr const char* kHostileMotorPlayer = R"(<?xml version="1.0"?>
<Player>
  <Transform3D/>
  <RigidBodyComponent3D/>
  <PlayerDataComponent>
    <sphereCollRadius><float value="-1"/></sphereCollRadius>
  </PlayerDataComponent>
  <CharacterMotor3D>
    <m_speed><float value="3e38"/></m_speed>
    <m_accelMaxChange><float value="-25"/></m_accelMaxChange>
    <m_maxFallSpeed><float value="0"/></m_maxFallSpeed>
    <m_gravity><float value="-10"/></m_gravity>
    <m_jumpHeight><float value="-3"/></m_jumpHeight>
    <m_ellipseA><float value="0"/></m_ellipseA>
    <m_ellipseB><float value="-5"/></m_ellipseB>
    <m_ellipseC><float value="3e38"/></m_ellipseC>
  </CharacterMotor3D>
</Player>
)";

} // namespace quellor::test::gameplay_levels
