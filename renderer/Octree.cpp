#include "renderer/Octree.h"

#include "renderer/DebugDrawer.h"
#include "renderer/Renderable.h"

#include <algorithm>
#include <cmath>

namespace ZOR {

namespace {

// Offset signs of the eight children, in child-index order: bit 0 is +x, bit 1 is +z, bit 2 is -y.
constexpr float kChildSigns[8][3] = {
    {-1.0f, 1.0f, -1.0f}, {1.0f, 1.0f, -1.0f}, {-1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f},
    {-1.0f, -1.0f, -1.0f}, {1.0f, -1.0f, -1.0f}, {-1.0f, -1.0f, 1.0f}, {1.0f, -1.0f, 1.0f},
};

} // namespace

Octree::Octree(float worldSize, float looseness, unsigned short maxDepth)
    : m_worldSize(worldSize), m_looseness(looseness)
{
    const std::uint32_t depth = std::clamp<std::uint32_t>(maxDepth, kMinDepth, kMaxDepth);
    Build(float3(0.0f, 0.0f, 0.0f), depth);
}

Octree::Octree(Octree* parent, const float3& center, std::uint32_t depth, std::uint32_t maxDepth,
               float worldSize, float looseness)
    : m_parent(parent), m_depth(depth), m_worldSize(worldSize), m_looseness(looseness)
{
    Build(center, maxDepth);
}

Octree::~Octree()
{
    for (Octree*& child : m_children) {
        delete child;
        child = nullptr;
    }
}

void Octree::Build(const float3& center, std::uint32_t maxDepth)
{
    const float scale = std::ldexp(1.0f, -static_cast<int>(m_depth));
    m_nodeSize = m_worldSize * m_looseness * scale;
    const float half = m_nodeSize / 2.0f;
    m_bounds.Set(center - float3(half, half, half), center + float3(half, half, half));
    m_renderables.reserve(kRoomPerNode);

    if (m_depth >= maxDepth)
        return;
    // Children sit a quarter of this node's tight cell away from its centre.
    const float q = m_worldSize * scale * 0.25f;
    for (int i = 0; i < 8; ++i) {
        const float3 offset(kChildSigns[i][0] * q, kChildSigns[i][1] * q, kChildSigns[i][2] * q);
        m_children[i] = new Octree(this, center + offset, m_depth + 1, maxDepth, m_worldSize, m_looseness);
    }
}

Octree* Octree::GetChild(unsigned i) const
{
    return i < 8 ? m_children[i] : nullptr;
}

void Octree::Insert(Renderable* renderable)
{
    const AABB& box = renderable->m_aabb;
    const float3& c = box.center;
    Octree* node = this;
    while (node->m_children[0] != nullptr) {
        const float3& n = node->m_bounds.center;
        unsigned index = 0;
        if (c.z > n.z)
            index += 2;
        if (c.y < n.y)
            index += 4;
        if (c.x > n.x)
            index += 1;
        Octree* child = node->m_children[index];
        // A box with NaN corners is contained nowhere and stays where it is.
        if (!child->m_bounds.Contains(box))
            break;
        node = child;
    }
    node->m_renderables.push_back(renderable);
    renderable->m_octree = node;
    for (Octree* holder = node; holder != nullptr; holder = holder->m_parent)
        ++holder->m_heldCount;
}

bool Octree::Remove(Renderable* renderable)
{
    const auto found = std::find(m_renderables.begin(), m_renderables.end(), renderable);
    if (found != m_renderables.end()) {
        m_renderables.erase(found);
        for (Octree* holder = this; holder != nullptr; holder = holder->m_parent)
            --holder->m_heldCount;
        // A pointer left behind would let a later Invalidate re-file a renderable its render
        // system no longer draws, or reach a node freed when the tree is rebuilt.
        if (renderable->m_octree == this)
            renderable->m_octree = nullptr;
        return true;
    }
    for (Octree* child : m_children) {
        if (child != nullptr && child->Remove(renderable))
            return true;
    }
    return false;
}

void Octree::Draw(const Frustum& frustum, DebugDrawer& drawer) const
{
    DrawNode(frustum, drawer, false);
}

void Octree::DrawNode(const Frustum& frustum, DebugDrawer& drawer, bool inside) const
{
    if (!inside) {
        const AABBTestResult result = frustum.TestAABB(m_bounds);
        if (result == AABB_OUTSIDE)
            return;
        inside = result == AABB_INSIDE;
    }
    if (!m_renderables.empty())
        drawer.BoundingBox(m_bounds);
    for (const Octree* child : m_children) {
        if (child != nullptr)
            child->DrawNode(frustum, drawer, inside);
    }
}

} // namespace ZOR
