<?xml version="1.0"?>
<!-- A floating island of convex pieces with a pillar on it, and a crate and a ball above it. -->
<PhysicsSample>
  <island>
    <Components>
      <Transform3D/>
      <RigidBodyComponent3D>
        <m_type><int value="0"/></m_type>
      </RigidBodyComponent3D>
      <MeshColliderComponent3D>
        <m_file><string value="sample_island.shape"/></m_file>
      </MeshColliderComponent3D>
    </Components>
  </island>
  <pillar>
    <Components>
      <Transform3D>
        <m_x><float value="-6"/></m_x>
        <m_y><float value="2"/></m_y>
        <m_z><float value="-4"/></m_z>
      </Transform3D>
      <RigidBodyComponent3D>
        <m_type><int value="0"/></m_type>
      </RigidBodyComponent3D>
      <MeshColliderComponent3D>
        <m_file><string value="sample_pillar.shape"/></m_file>
      </MeshColliderComponent3D>
    </Components>
  </pillar>
  <crate>
    <Components>
      <Transform3D>
        <m_x><float value="-2"/></m_x>
        <m_y><float value="0"/></m_y>
      </Transform3D>
      <RigidBodyComponent3D>
        <m_type><int value="1"/></m_type>
        <m_allowRotation><bool value="1"/></m_allowRotation>
      </RigidBodyComponent3D>
      <BoxColliderComponent3D>
        <m_halfExtents><Vec4><x><float value="0.5"/></x><y><float value="0.5"/></y><z><float value="0.5"/></z></Vec4></m_halfExtents>
      </BoxColliderComponent3D>
    </Components>
  </crate>
  <ball>
    <Components>
      <Transform3D>
        <m_x><float value="2"/></m_x>
        <m_y><float value="1.5"/></m_y>
        <m_z><float value="3"/></m_z>
      </Transform3D>
      <RigidBodyComponent3D>
        <m_type><int value="1"/></m_type>
        <m_allowRotation><bool value="1"/></m_allowRotation>
      </RigidBodyComponent3D>
      <SphereColliderComponent3D>
        <m_radius><float value="0.5"/></m_radius>
      </SphereColliderComponent3D>
    </Components>
  </ball>
</PhysicsSample>
