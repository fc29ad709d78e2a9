#include "renderer/Renderable2D.h"

#include "renderer/Material.h"
#include "renderer/RenderSystem.h"

#include <stdexcept>

namespace ZOR {

Renderable2D::Renderable2D() : Renderable(Type::Renderable2D) {}

void Renderable2D::AddAnimation(const std::string& name, const Animation2D& animation)
{
    m_animations.emplace(name, animation);
}

const Renderable2D::Animation2D& Renderable2D::GetAnimation(const std::string& name) const
{
    return m_animations.at(name);
}

void Renderable2D::PlayAnimation(const std::string& name)
{
    const auto found = m_animations.find(name);
    if (found == m_animations.end()) {
        Log("Warning: sprite has no animation \"%s\"; ignored", name.c_str());
        return;
    }
    m_playing = true;
    m_timer = 0.0f;
    m_frame = 0;
    m_current = &found->second;
    // The new animation's first cell must show at the next update, not at its first change.
    m_frameChanged = true;
}

void Renderable2D::PauseAnimation()
{
    m_playing = false;
}

void Renderable2D::StopAnimation()
{
    m_timer = 0.0f;
    m_frame = 0;
    m_playing = false;
    m_frameChanged = true;
}

void Renderable2D::LoadAnimationSet(const std::string&) {}

void Renderable2D::SaveAnimationSet(const std::string&) {}

void Renderable2D::SetMaterial(const std::string& name)
{
    if (m_owner == nullptr)
        return;
    m_material = m_owner->GetMaterial(name);
    m_owner->Mark2DListForSorting();
}

void Renderable2D::SetZLayer(unsigned layer)
{
    m_zLayer = layer;
    if (m_owner != nullptr)
        m_owner->Mark2DListForSorting();
}

void Renderable2D::Update(float dt)
{
    if (m_current == nullptr)
        return;
    const std::size_t n = m_current->frames.size();
    if (m_playing && n > 0) {
        m_timer += dt;
        if (m_timer >= m_current->duration / static_cast<float>(n)) {
            m_timer = 0.0f;
            if (m_frame + 1 < n) {
                ++m_frame;
                m_frameChanged = true;
            } else if (m_current->loop) {
                m_frame = 0;
                m_frameChanged = true;
            }
        }
    }
    if (!m_frameChanged)
        return;
    // No frames or a frame wider than the sheet: there is no cell to show, the rectangle stays.
    const auto columns = m_frameSize.x > 0.0f ? static_cast<unsigned>(m_sheetSize.x / m_frameSize.x) : 0u;
    if (n == 0 || columns == 0 || m_frame >= n)
        return;
    const unsigned cell = m_current->frames[m_frame];
    float2 origin(0.0f, 0.0f);
    if (cell != 0)
        origin = float2(static_cast<float>(cell % columns) * m_frameSize.x,
                        static_cast<float>(cell / columns) * m_frameSize.y);
    m_instance.frameData = float4(origin.x / m_sheetSize.x, origin.y / m_sheetSize.y, m_frameSize.x / m_sheetSize.x,
                                  m_frameSize.y / m_sheetSize.y);
    m_frameChanged = false;
}

bool Renderable2DSortLess(const Renderable2D* a, const Renderable2D* b)
{
    if (a->GetZLayer() != b->GetZLayer())
        return a->GetZLayer() < b->GetZLayer();
    const std::uint32_t ma = a->GetMaterial() ? a->GetMaterial()->GetID() : 0;
    const std::uint32_t mb = b->GetMaterial() ? b->GetMaterial()->GetID() : 0;
    if (ma != mb)
        return ma < mb;
    return a->GetScreenID() < b->GetScreenID();
}

} // namespace ZOR
