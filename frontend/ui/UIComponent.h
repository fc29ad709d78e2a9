#pragma once
// The enabled and selected state of an on-screen control, read by the buttons and check boxes
// of the same entity.
#include "engine/Component.h"

namespace quellor {

class UIComponent : public Component {
    QUELLOR_REFLECT_KEYED(UIComponent)

    UIComponent() = default;
    UIComponent(const UIComponent&) = default;
    ~UIComponent() override;

    Component* Clone() const override;
    // Joins the UISystem of its space; without one it is never updated.
    void Initialize() override;
    void Uninitialize() override;
    void DebugDraw(ZOR::DebugDrawer* drawer) override;
    // The per-frame update; a plain control does nothing.
    virtual void Update(float dt);

    bool IsEnabled() const { return m_enabled; }
    bool IsSelected() const { return m_selected; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    void SetSelected(bool selected) { m_selected = selected; }

private:
    bool m_enabled = true;
    bool m_selected = false;
};

} // namespace quellor
