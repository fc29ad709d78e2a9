#include "renderer/Renderable.h"

#include "renderer/Octree.h"

namespace ZOR {

Renderable::Renderable(Type type) : m_type(type) {}

Renderable::Renderable(const Renderable& other)
    : m_type(other.m_type), m_owner(other.m_owner), m_aabb(other.m_aabb), m_hash(other.m_hash)
{
    for (int i = 0; i < kScreenCount; ++i)
        m_visible[i] = other.m_visible[i];
}

Renderable& Renderable::operator=(const Renderable& other)
{
    // The target keeps its own place in the tree; its owner re-files it when it moves.
    m_type = other.m_type;
    m_owner = other.m_owner;
    m_aabb = other.m_aabb;
    for (int i = 0; i < kScreenCount; ++i)
        m_visible[i] = other.m_visible[i];
    m_hash = other.m_hash;
    return *this;
}

void Renderable::Update(float) {}

bool Renderable::GetVisible(int screen) const
{
    if (screen < 0)
        return m_visible[0];
    if (screen >= kScreenCount)
        return m_visible[0] && m_visible[1] && m_visible[2] && m_visible[3];
    return m_visible[screen];
}

void Renderable::SetVisible(bool visible, int screen)
{
    if (screen < 0) {
        m_visible[0] = visible;
    } else if (screen >= kScreenCount) {
        for (bool& flag : m_visible)
            flag = visible;
    } else {
        m_visible[screen] = visible;
    }
}

void Renderable::Invalidate()
{
    Octree* node = m_octree;
    if (node == nullptr)
        return;
    // The holding node belongs to the owner's tree, so its root is the owner's octree.
    Octree* root = node;
    while (root->GetParent() != nullptr)
        root = root->GetParent();
    if (node->Remove(this))
        root->Insert(this);
}

} // namespace ZOR
