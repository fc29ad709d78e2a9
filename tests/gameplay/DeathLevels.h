#pragma once
// Levels with a kill volume and a level boundary, for the loader test and the level fuzz seeds.
namespace quellor::test::death_levels {

// Both as the arenas carry them: a static sensor box, then the component.
inline constexpr const char* kVolumes = R"(<?xml version="1.0"?>
<Arena>
  <killVolume>
    <Components>
      <Transform3D><m_y><float value="-60"/></m_y></Transform3D>
      <RigidBodyComponent3D><m_type><int value="0"/></m_type></RigidBodyComponent3D>
      <BoxColliderComponent3D>
        <m_isSensor><bool value="1"/></m_isSensor>
        <m_halfExtents><Vec4><x><float value="80"/></x><y><float value="10"/></y><z><float value="80"/></z></Vec4></m_halfExtents>
      </BoxColliderComponent3D>
      <DeathBoxComponent/>
    </Components>
  </killVolume>
  <boundary>
    <Components>
      <Transform3D/>
      <RigidBodyComponent3D><m_type><int value="0"/></m_type></RigidBodyComponent3D>
      <BoxColliderComponent3D>
        <m_isSensor><bool value="1"/></m_isSensor>
        <m_halfExtents><Vec4><x><float value="90"/></x><y><float value="90"/></y><z><float value="90"/></z></Vec4></m_halfExtents>
      </BoxColliderComponent3D>
      <LevelBoundaryComponent/>
    </Components>
  </boundary>
</Arena>
)";

// Both without a collider, one without a body or a transform, and one with members it does
// not have.
inline constexpr const char* kBareVolumes = R"(<?xml version="1.0"?>
<Arena>
  <bareKill>
    <Components>
      <Transform3D/>
      <RigidBodyComponent3D/>
      <DeathBoxComponent/>
    </Components>
  </bareKill>
  <bareBoundary>
    <Components>
      <LevelBoundaryComponent><m_cooldown><float value="-1"/></m_cooldown></LevelBoundaryComponent>
    </Components>
  </bareBoundary>
  <bodylessKill>
    <Components>
      <BoxColliderComponent3D><m_isSensor><bool value="1"/></m_isSensor></BoxColliderComponent3D>
      <DeathBoxComponent><m_id><int value="7"/></m_id></DeathBoxComponent>
    </Components>
  </bodylessKill>
</Arena>
)";

} // namespace quellor::test::death_levels
