<?xml version="1.0"?>
<!-- A small level: each entity holds one wrapper, and the wrapper holds its components. -->
<SampleLevel>
  <title>
    <Components>
      <Transform2D>
        <m_x><float value="640"/></m_x>
        <m_y><float value="96"/></m_y>
        <m_scaleX><float value="2.5"/></m_scaleX>
        <m_scaleY><float value="2.5"/></m_scaleY>
      </Transform2D>
    </Components>
  </title>
  <cursor>
    <Components>
      <Transform2D>
        <m_x><float value="-12.75"/></m_x>
        <m_y><float value="-0.5"/></m_y>
        <m_rotation><float value="-1.5707963"/></m_rotation>
      </Transform2D>
    </Components>
  </cursor>
  <marker>
    <Components>
      <Transform2D>
        <m_x><float value="1.28e3"/></m_x>
        <m_y><float value="7.2E2"/></m_y>
        <m_scaleX><float value="5e-1"/></m_scaleX>
        <m_scaleY><float value="-2.5e-2"/></m_scaleY>
      </Transform2D>
    </Components>
  </marker>
</SampleLevel>
