#pragma once
// Levels with camera path nodes and menu cameras, for the camera tests and the level fuzz seeds.
namespace quellor::test::camera_levels {

// Two path nodes given in reverse order of priority; the second turned a quarter about y (its
// +X looks along -z), scaled 4 and drawn.
inline constexpr const char* kPath = R"(<?xml version="1.0"?>
<Path>
  <late>
    <Components>
      <Transform3D><m_x><float value="10"/></m_x></Transform3D>
      <AutomatedCameraComponent>
        <m_priority><int value="5"/></m_priority>
        <m_waitTime><float value="0.5"/></m_waitTime>
      </AutomatedCameraComponent>
    </Components>
  </late>
  <early>
    <Components>
      <AutomatedCameraComponent>
        <m_timeToNextNode><float value="2.5"/></m_timeToNextNode>
        <m_waitTime><float value="1.5"/></m_waitTime>
        <m_priority><int value="-1"/></m_priority>
        <m_debugDraw><bool value="1"/></m_debugDraw>
      </AutomatedCameraComponent>
      <Transform3D>
        <m_y><float value="3"/></m_y>
        <m_scaleX><float value="4"/></m_scaleX>
        <m_scaleY><float value="4"/></m_scaleY>
        <m_scaleZ><float value="4"/></m_scaleZ>
        <m_rotation><Quat><y><float value="0.70710678"/></y><w><float value="0.70710678"/></w></Quat></m_rotation>
      </Transform3D>
    </Components>
  </early>
</Path>
)";

// A menu scene: the camera circles at radius 20, 30 degrees up, looking at an entity at the
// origin; it does not turn.
inline constexpr const char* kMenuScene = R"(<?xml version="1.0"?>
<Menu>
  <scene>
    <Components>
      <Transform3D/>
      <MenuCameraComponent>
        <m_rotate><bool value="0"/></m_rotate>
        <m_alpha><float value="90"/></m_alpha>
        <m_beta><float value="30"/></m_beta>
        <m_rad><float value="20"/></m_rad>
        <m_speed><float value="0"/></m_speed>
      </MenuCameraComponent>
    </Components>
  </scene>
</Menu>
)";

// Values no level should hold: a node without a transform and with huge times, a menu camera
// whose radius is not a number and one whose angle is infinite (the loader keeps the defaults
// for both) and turns at the largest speed.
inline constexpr const char* kHostileCameras = R"(<?xml version="1.0"?>
<Hostile>
  <bare>
    <Components>
      <AutomatedCameraComponent>
        <m_timeToNextNode><float value="-1e38"/></m_timeToNextNode>
        <m_waitTime><float value="nan"/></m_waitTime>
        <m_priority><int value="-2147483648"/></m_priority>
        <m_debugDraw><bool value="1"/></m_debugDraw>
      </AutomatedCameraComponent>
    </Components>
  </bare>
  <noRadius>
    <Components>
      <Transform3D/>
      <MenuCameraComponent><m_rad><float value="nan"/></m_rad></MenuCameraComponent>
    </Components>
  </noRadius>
  <spinning>
    <Components>
      <MenuCameraComponent><m_alpha><float value="inf"/></m_alpha><m_speed><float value="1e38"/></m_speed></MenuCameraComponent>
    </Components>
  </spinning>
</Hostile>
)";

} // namespace quellor::test::camera_levels
