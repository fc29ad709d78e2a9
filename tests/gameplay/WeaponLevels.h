#pragma once
// Player archetypes with the secondary weapons, for the loader tests and the level fuzz seeds.
namespace quellor::test::weapon_levels {

// Every weapon field set to a value other than its default.
inline constexpr const char* kArmedPlayer = R"(<?xml version="1.0"?>
<Player>
  <Transform3D/>
  <RigidBodyComponent3D/>
  <PlayerDataComponent>
    <playerTeam><string value="red"/></playerTeam>
  </PlayerDataComponent>
  <CharacterMotor3D/>
  <LiftComponent>
    <m_range><float value="500"/></m_range>
    <m_environmentLiftForce><float value="50"/></m_environmentLiftForce>
    <m_liftTime><float value="1.5"/></m_liftTime>
    <m_playerLiftForce><float value="14"/></m_playerLiftForce>
    <m_playerSlowSpeed><float value="6"/></m_playerSlowSpeed>
    <m_tagTime><float value="0.5"/></m_tagTime>
    <m_tagLastTime><float value="6"/></m_tagLastTime>
    <m_effectEmitter><string value="lift_fx.pe"/></m_effectEmitter>
    <m_beamShotEmitter><string value="lift_shot.pe"/></m_beamShotEmitter>
  </LiftComponent>
  <SnapshotComponent>
    <m_knockbackForce><float value="150"/></m_knockbackForce>
    <m_enviroKnockBackForce><float value="400"/></m_enviroKnockBackForce>
    <m_range><float value="800"/></m_range>
    <m_groundStunTime><float value="0.5"/></m_groundStunTime>
    <m_airStunTime><float value="0.7"/></m_airStunTime>
    <m_shotOffestMultiplier><float value="2"/></m_shotOffestMultiplier>
  </SnapshotComponent>
  <AttackManager>
    <m_snapshotCooldown><float value="0.5"/></m_snapshotCooldown>
  </AttackManager>
</Player>
)";

// Hostile values: no range, no hold or tag time, a tag of no life, a lift force beyond any
// motor, a negative cooldown.
inline constexpr const char* kHostileWeapons = R"(<?xml version="1.0"?>
<Player>
  <Transform3D/>
  <RigidBodyComponent3D/>
  <PlayerDataComponent/>
  <LiftComponent>
    <m_range><float value="-5"/></m_range>
    <m_liftTime><float value="0"/></m_liftTime>
    <m_playerLiftForce><float value="3e38"/></m_playerLiftForce>
    <m_tagTime><float value="0"/></m_tagTime>
    <m_tagLastTime><float value="-1"/></m_tagLastTime>
  </LiftComponent>
  <SnapshotComponent>
    <m_range><float value="0"/></m_range>
    <m_shotOffestMultiplier><float value="-3e38"/></m_shotOffestMultiplier>
  </SnapshotComponent>
  <AttackManager>
    <m_snapshotCooldown><float value="-1"/></m_snapshotCooldown>
  </AttackManager>
</Player>
)";

} // namespace quellor::test::weapon_levels
