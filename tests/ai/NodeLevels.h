#pragma once
// Levels that place navigation nodes, shared by the node component tests and the level fuzz
// target's seeds: a well-formed graph and the hostile shapes the component must survive.
#include <string>
#include <utility>
#include <vector>

namespace quellor::test::nodelevels {

// Three nodes: 0 -> 1 -> 2 (cost 20) and a cheaper jump edge 0 -> 2 (15); node 1 writes only
// its third edge slot; a bystander places no node (m_id -1).
inline const char* const kTriangle = R"(<?xml version="1.0"?>
<level>
  <node0>
    <components>
      <Transform3D><m_x><float value="0"/></m_x><m_y><float value="1"/></m_y></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="0"/></m_id>
        <m_radius><float value="2"/></m_radius>
        <m_edge0><GraphEdge><to><int value="1"/></to><cost><float value="10"/></cost></GraphEdge></m_edge0>
        <m_edge1><GraphEdge><to><int value="2"/></to><cost><float value="15"/></cost><type><int value="1"/></type></GraphEdge></m_edge1>
      </AStarNodeComponent>
    </components>
  </node0>
  <node1>
    <components>
      <Transform3D><m_x><float value="10"/></m_x><m_y><float value="1"/></m_y></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="1"/></m_id>
        <m_edge2><GraphEdge><to><int value="2"/></to><cost><float value="10"/></cost></GraphEdge></m_edge2>
      </AStarNodeComponent>
    </components>
  </node1>
  <node2>
    <components>
      <Transform3D><m_x><float value="20"/></m_x><m_y><float value="1"/></m_y></Transform3D>
      <AStarNodeComponent><m_id><int value="2"/></m_id></AStarNodeComponent>
    </components>
  </node2>
  <bystander>
    <components>
      <Transform3D><m_x><float value="5"/></m_x></Transform3D>
      <AStarNodeComponent><m_id><int value="-1"/></m_id></AStarNodeComponent>
    </components>
  </bystander>
</level>
)";

// Two entities claim id 3; the first keeps the node, the second's edge is appended to it.
inline const char* const kDuplicateIds = R"(<level>
  <first>
    <components>
      <Transform3D><m_x><float value="1"/></m_x></Transform3D>
      <AStarNodeComponent><m_id><int value="3"/></m_id><m_radius><float value="1"/></m_radius></AStarNodeComponent>
    </components>
  </first>
  <second>
    <components>
      <Transform3D><m_x><float value="50"/></m_x></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="3"/></m_id>
        <m_radius><float value="9"/></m_radius>
        <m_edge0><GraphEdge><to><int value="4"/></to><cost><float value="2"/></cost></GraphEdge></m_edge0>
      </AStarNodeComponent>
    </components>
  </second>
  <target>
    <components>
      <Transform3D><m_x><float value="3"/></m_x></Transform3D>
      <AStarNodeComponent><m_id><int value="4"/></m_id></AStarNodeComponent>
    </components>
  </target>
</level>
)";

// Ids outside -1..65535 and edges to ids outside 0..65535 or to no node.
inline const char* const kHostileIds = R"(<level>
  <negative>
    <components>
      <Transform3D/>
      <AStarNodeComponent><m_id><int value="-5"/></m_id></AStarNodeComponent>
    </components>
  </negative>
  <large>
    <components>
      <Transform3D/>
      <AStarNodeComponent><m_id><int value="70000"/></m_id></AStarNodeComponent>
    </components>
  </large>
  <reaching>
    <components>
      <Transform3D><m_z><float value="4"/></m_z></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="6"/></m_id>
        <m_edge0><GraphEdge><to><int value="9"/></to><cost><float value="1"/></cost></GraphEdge></m_edge0>
        <m_edge1><GraphEdge><to><int value="-7"/></to><cost><float value="1"/></cost></GraphEdge></m_edge1>
        <m_edge2><GraphEdge><to><int value="80000"/></to><cost><float value="1"/></cost></GraphEdge></m_edge2>
        <m_edge3><GraphEdge><to><int value="6"/></to><cost><float value="-2"/></cost></GraphEdge></m_edge3>
      </AStarNodeComponent>
    </components>
  </reaching>
</level>
)";

// A node component on an entity without a Transform3D.
inline const char* const kNoTransform = R"(<level>
  <floating>
    <components>
      <AStarNodeComponent><m_id><int value="8"/></m_id></AStarNodeComponent>
    </components>
  </floating>
</level>
)";

// One entity with two node components: the second is read (its "m_id" set) but never added,
// and a neighbour has an edge to its id.
inline const char* const kDuplicateComponent = R"(<level>
  <twice>
    <components>
      <Transform3D/>
      <AStarNodeComponent><m_id><int value="1"/></m_id></AStarNodeComponent>
      <AStarNodeComponent><m_id><int value="7"/></m_id></AStarNodeComponent>
    </components>
  </twice>
  <neighbour>
    <components>
      <Transform3D><m_x><float value="6"/></m_x></Transform3D>
      <AStarNodeComponent>
        <m_id><int value="2"/></m_id>
        <m_edge0><GraphEdge><to><int value="7"/></to><cost><float value="6"/></cost></GraphEdge></m_edge0>
        <m_edge1><GraphEdge><to><int value="1"/></to><cost><float value="6"/></cost></GraphEdge></m_edge1>
      </AStarNodeComponent>
    </components>
  </neighbour>
</level>
)";

// Every node level by file name.
inline std::vector<std::pair<std::string, std::string>> NodeLevels()
{
    return {
        {"nodes_triangle.ql", kTriangle},
        {"nodes_duplicate_ids.ql", kDuplicateIds},
        {"nodes_hostile_ids.ql", kHostileIds},
        {"nodes_no_transform.ql", kNoTransform},
        {"nodes_duplicate_component.ql", kDuplicateComponent},
    };
}

} // namespace quellor::test::nodelevels
