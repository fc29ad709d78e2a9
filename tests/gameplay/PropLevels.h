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

} // namespace quellor::test::prop_levels
