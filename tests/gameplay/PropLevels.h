#pragma once
// Levels with the per-frame prop components (animation players, skin mounts, player markers,
// orbits), for the loader tests and the level fuzz seeds.
namespace quellor::test::prop_levels {

// Two animation players on the character: one file sets playing before the name, the other the
// name before playing. Both at speed 2.
inline constexpr const char* kAnimationPlayers = R"(<?xml version="1.0"?>
<Props>
  <playingFirst>
    <Components>
      <Transform3D/>
      <GraphicsComponent3DSkinned>
        <m_modelName><string value="base_idle.model"/></m_modelName>
      </GraphicsComponent3DSkinned>
      <AnimationPlayerComponent>
        <m_playing><bool value="1"/></m_playing>
        <m_animName><string value="run_base.anim"/></m_animName>
        <m_speed><float value="2"/></m_speed>
      </AnimationPlayerComponent>
    </Components>
  </playingFirst>
  <nameFirst>
    <Components>
      <Transform3D/>
      <GraphicsComponent3DSkinned>
        <m_modelName><string value="base_idle.model"/></m_modelName>
      </GraphicsComponent3DSkinned>
      <AnimationPlayerComponent>
        <m_speed><float value="2"/></m_speed>
        <m_animName><string value="run_base.anim"/></m_animName>
        <m_playing><bool value="1"/></m_playing>
      </AnimationPlayerComponent>
    </Components>
  </nameFirst>
</Props>
)";

// Hostile values: bone numbers below and past the skeleton, names of no file, an animation
// player without a model, a marker for no player, an orbit of radius 0 and one whose values a
// float cannot hold (refused by the reader, so the defaults stay).
inline constexpr const char* kHostileProps = R"(<?xml version="1.0"?>
<Props>
  <hat>
    <Components>
      <Transform3D/>
      <SkinMountComponent>
        <m_controllerID><int value="-1"/></m_controllerID>
        <m_boneNum><int value="-7"/></m_boneNum>
        <m_mountName><string value="no_such_hat.model"/></m_mountName>
        <m_matName><string value=""/></m_matName>
      </SkinMountComponent>
    </Components>
  </hat>
  <mask>
    <Components>
      <SkinMountComponent>
        <m_boneNum><int value="2147483647"/></m_boneNum>
      </SkinMountComponent>
    </Components>
  </mask>
  <statue>
    <Components>
      <AnimationPlayerComponent>
        <m_animName><string value="no_such_clip.anim"/></m_animName>
        <m_playing><bool value="1"/></m_playing>
        <m_speed><float value="-1e30"/></m_speed>
      </AnimationPlayerComponent>
    </Components>
  </statue>
  <marker>
    <Components>
      <Transform3D>
        <m_y><float value="4"/></m_y>
      </Transform3D>
      <PlayerIdComponent>
        <m_controllerID><int value="9"/></m_controllerID>
        <m_offset><Vec4><y><float value="3"/></y></Vec4></m_offset>
      </PlayerIdComponent>
    </Components>
  </marker>
  <pivot>
    <Components>
      <Transform3D>
        <m_x><float value="2"/></m_x>
      </Transform3D>
      <OrbitComponent>
        <m_radius><float value="0"/></m_radius>
        <m_speed><float value="1e6"/></m_speed>
      </OrbitComponent>
    </Components>
  </pivot>
  <comet>
    <Components>
      <OrbitComponent>
        <m_radius><float value="1e39"/></m_radius>
        <m_speed><float value="nan"/></m_speed>
        <m_startAngleDeg><float value="-inf"/></m_startAngleDeg>
      </OrbitComponent>
      <Transform3D/>
    </Components>
  </comet>
</Props>
)";

// The level hazards and pick-ups: a feather, a floating crate on a body and a thumper with its
// body and its own values.
inline constexpr const char* kHazards = R"(<?xml version="1.0"?>
<Hazards>
  <feather>
    <Components>
      <Transform3D>
        <m_x><float value="4"/></m_x>
        <m_scaleX><float value="2"/></m_scaleX>
      </Transform3D>
      <ActionComponent>
        <m_name><string value="FeatherAction"/></m_name>
      </ActionComponent>
    </Components>
  </feather>
  <crate>
    <Components>
      <Transform3D>
        <m_y><float value="8"/></m_y>
      </Transform3D>
      <RigidBodyComponent3D/>
      <FloatComponent>
        <m_yDuration><float value="2"/></m_yDuration>
        <m_ySpeed><float value="1"/></m_ySpeed>
        <m_xSpeed><float value="0"/></m_xSpeed>
      </FloatComponent>
    </Components>
  </crate>
  <thumper>
    <Components>
      <Transform3D>
        <m_z><float value="-20"/></m_z>
      </Transform3D>
      <RigidBodyComponent3D/>
      <ThumperComponent>
        <m_thumpPower><float value="60"/></m_thumpPower>
        <m_thumpTime><float value="0.5"/></m_thumpTime>
        <m_glowDuration><float value="0.25"/></m_glowDuration>
        <m_minHalfExtent><Vec4><x><float value="2"/></x><y><float value="1"/></y><z><float value="2"/></z></Vec4></m_minHalfExtent>
        <m_thumpDir><Vec4><x><float value="0"/></x><y><float value="2"/></y><z><float value="0"/></z></Vec4></m_thumpDir>
        <m_groundBlastFile><string value="thumperGround.pe"/></m_groundBlastFile>
      </ThumperComponent>
    </Components>
  </thumper>
</Hazards>
)";

// Hazards that cannot work: a feather without a place, a float whose drift overflows (the
// reader refuses values that are no numbers) and a thumper without a body.
inline constexpr const char* kHostileHazards = R"(<?xml version="1.0"?>
<Hazards>
  <placeless>
    <Components>
      <ActionComponent>
        <m_name><string value="FeatherAction"/></m_name>
      </ActionComponent>
    </Components>
  </placeless>
  <drifter>
    <Components>
      <Transform3D/>
      <FloatComponent>
        <m_xSpeed><float value="3e38"/></m_xSpeed>
        <m_yDuration><float value="-1e38"/></m_yDuration>
      </FloatComponent>
    </Components>
  </drifter>
  <bodilessThumper>
    <Components>
      <Transform3D/>
      <ThumperComponent>
        <m_thumpTime><float value="0.25"/></m_thumpTime>
      </ThumperComponent>
    </Components>
  </bodilessThumper>
</Hazards>
)";

} // namespace quellor::test::prop_levels
