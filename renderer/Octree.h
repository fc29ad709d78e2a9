#pragma once
#include "renderer/math/AABB.h"
#include "renderer/math/Frustum.h"

#include <cstdint>
#include <vector>

namespace ZOR {

class DebugDrawer;
class Renderable;

// Loose octree over a cube centred at the origin, built complete at construction. Each node is
// an Octree; the root is the node without a parent. Nodes hold renderable pointers they do not
// own.
class Octree {
public:
    // Subdivides eagerly to the depth clamped to 1..5: 8^depth leaves, all allocated here.
    Octree(float worldSize, float looseness, unsigned short maxDepth);
    ~Octree();

    Octree(const Octree&) = delete;
    Octree& operator=(const Octree&) = delete;

    // Files the renderable in the deepest node from here whose cube holds its whole box.
    void Insert(Renderable* renderable);
    // Erases the first occurrence found here or below and clears the renderable's node; false
    // when it is nowhere in this subtree.
    bool Remove(Renderable* renderable);

    const std::vector<Renderable*>& GetRenderables() const { return m_renderables; }
    // How many renderables this node and its descendants hold: culling skips a subtree with none.
    std::uint32_t GetHeldCount() const { return m_heldCount; }
    const AABB& GetBounds() const { return m_bounds; }
    Octree* GetParent() const { return m_parent; }
    // Child i for i < 8 of an inner node; null otherwise.
    Octree* GetChild(unsigned i) const;

    // Draws the boxes of the nodes that hold renderables and are not outside the frustum.
    void Draw(const Frustum& frustum, DebugDrawer& drawer) const;

    static constexpr unsigned kMinDepth = 1;
    static constexpr unsigned kMaxDepth = 5;
    // Room every node has from the start, so that renderables moving about the world do not
    // allocate as they enter nodes that held nothing yet.
    static constexpr unsigned kRoomPerNode = 8;

private:
    Octree(Octree* parent, const float3& center, std::uint32_t depth, std::uint32_t maxDepth,
           float worldSize, float looseness);

    void Build(const float3& center, std::uint32_t maxDepth);
    void DrawNode(const Frustum& frustum, DebugDrawer& drawer, bool inside) const;

    std::vector<Renderable*> m_renderables;
    std::uint32_t m_heldCount = 0;
    Octree* m_parent = nullptr;
    Octree* m_children[8] = {};
    AABB m_bounds;
    std::uint32_t m_depth = 0;
    float m_worldSize;
    float m_nodeSize = 0.0f;
    float m_looseness;
};

} // namespace ZOR
