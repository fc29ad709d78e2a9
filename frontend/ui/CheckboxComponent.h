#pragma once
// Flips its reflected state when the control of its entity (the UIComponent beside it) is
// pressed, then calls its delegate with the new state.
#include "engine/Component.h"
#include "engine/Delegate.h"
#include "frontend/ui/ControlPress.h"

namespace quellor {

class CheckboxComponent : public Component {
    QUELLOR_REFLECT_KEYED(CheckboxComponent)

    CheckboxComponent() = default;
    // A copy shares the callback and keeps the looked-up pointers.
    CheckboxComponent(const CheckboxComponent&) = default;
    ~CheckboxComponent() override;

    Component* Clone() const override;
    void Initialize() override;
    void Uninitialize() override;
    void DebugDraw(ZOR::DebugDrawer* drawer) override;
    virtual void Update(float dt);

    // Set by the code that owns the check box; with none it still toggles.
    void SetCallback(Delegate<void, bool> callback) { m_callback = std::move(callback); }

    // Read from level data as the initial state.
    bool m_checked = false;

private:
    Delegate<void, bool> m_callback;
    ControlPress m_press;
};

} // namespace quellor
