<level>
  <fixture>
    <components>
      <Transform2D><m_x><float value="-1e3"/></m_x></Transform2D>
      <ReadFixtureComponent>
        <m_offset><Vec4><x><float value="1"/></x><w><float value="2"/></w></Vec4></m_offset>
        <m_turn><Quat><w><float value="0.5"/></w></Quat></m_turn>
        <m_low><int value="300"/></m_low>
        <m_enabled><bool value="2"/></m_enabled>
        <m_count><int value="7"/></m_count>
        <m_label><string value="level"/></m_label>
      </ReadFixtureComponent>
      <OrderProbe><m_tag><string value="fixture"/></m_tag></OrderProbe>
    </components>
  </fixture>
</level>
