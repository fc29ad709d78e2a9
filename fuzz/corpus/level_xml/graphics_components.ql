<level>
  <lamp>
    <components>
      <Transform3D>
        <m_x><float value="1"/></m_x><m_y><float value="nan"/></m_y><m_z><float value="1e30"/></m_z>
        <m_scaleX><float value="2"/></m_scaleX><m_scaleY><float value="inf"/></m_scaleY>
        <m_rotation><Quat><y><float value="0.7071"/></y><w><float value="0.7071"/></w></Quat></m_rotation>
      </Transform3D>
      <DecalComponent><m_texture><string value="missing.dds"/></m_texture><m_alpha><float value="3"/></m_alpha></DecalComponent>
      <BillboardedQuadComponent>
        <m_materialName><string value="missing.mat"/></m_materialName>
        <m_visibleScreen1><bool value="0"/></m_visibleScreen1><m_visibleScreen4><bool value="1"/></m_visibleScreen4>
      </BillboardedQuadComponent>
      <PointLightComponent>
        <m_color><Vec4><x><float value="1"/></x></Vec4></m_color>
        <m_intensity><float value="-1"/></m_intensity><m_radius><float value="1e30"/></m_radius>
      </PointLightComponent>
    </components>
  </lamp>
  <spot>
    <components>
      <Transform3D><m_x><float value="-5"/></m_x></Transform3D>
      <SpotLightComponent>
        <m_direction><Vec4><y><float value="-1"/></y></Vec4></m_direction>
        <m_radius><float value="10"/></m_radius><m_innerAlpha><float value="90"/></m_innerAlpha>
        <m_outerAlpha><float value="10"/></m_outerAlpha><m_intensity><float value="2"/></m_intensity>
      </SpotLightComponent>
      <DirectionalLightComponent>
        <m_direction><Vec4><x><float value="1"/></x><y><float value="-1"/></y></Vec4></m_direction>
        <m_color><Vec4><z><float value="0.5"/></z></Vec4></m_color>
      </DirectionalLightComponent>
    </components>
  </spot>
  <label>
    <components>
      <Transform2D><m_x><float value="10"/></m_x></Transform2D>
      <TextComponent>
        <m_color><Vec4><w><float value="1"/></w></Vec4></m_color>
        <m_offset><Vec2><x><float value="2"/></x></Vec2></m_offset>
        <m_fontName><string value="missing.bff"/></m_fontName>
        <m_fontTexture><string value="font.dds"/></m_fontTexture>
        <m_value><string value="Score"/></m_value>
      </TextComponent>
    </components>
  </label>
  <weather>
    <components>
      <Transform3D><m_y><float value="500"/></m_y></Transform3D>
      <SunComponent>
        <m_size><float value="50"/></m_size>
        <m_direction><Vec4><y><float value="-1"/></y></Vec4></m_direction>
        <m_fov><float value="180"/></m_fov><m_nearPlane><float value="10"/></m_nearPlane>
        <m_farPlane><float value="1"/></m_farPlane><m_raySamples><int value="-1"/></m_raySamples>
      </SunComponent>
      <FogComponent>
        <m_globalDensity><float value="0.1"/></m_globalDensity>
        <m_color><Vec4><x><float value="0.2"/></x></Vec4></m_color>
      </FogComponent>
    </components>
  </weather>
</level>
