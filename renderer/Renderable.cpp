#include "renderer/Renderable.h"

#include "renderer/Octree.h"

namespace ZOR {

Renderable::Renderable(Type type) : m_type(type) {}

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
