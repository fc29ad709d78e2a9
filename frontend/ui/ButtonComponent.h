#pragma once
// Calls its delegate when the control of its entity (the UIComponent beside it) is pressed.
#include "engine/Component.h"
#include "engine/Delegate.h"
#include "frontend/ui/ControlPress.h"

namespace quellor {

class ButtonComponent : public Component {
    QUELLOR_REFLECT_KEYED(ButtonComponent)

    ButtonComponent() = default;
    // A copy shares the callback and keeps the looked-up pointers.
    ButtonComponent(const ButtonComponent&) = default;
    ~ButtonComponent() override;

    Component* Clone() const override;
    void Initialize() override;
    void Uninitialize() override;
    void DebugDraw(ZOR::DebugDrawer* drawer) override;
    virtual void Update(float dt);

    // Set by the code that owns the button; an empty delegate is never called.
    void SetCallback(Delegate<void> callback) { m_callback = std::move(callback); }
    const Delegate<void>& GetCallback() const { return m_callback; }

private:
    Delegate<void> m_callback;
    ControlPress m_press;
};

} // namespace quellor
