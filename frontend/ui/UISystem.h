#pragma once
// Keeps the on-screen controls of its space in three lists (controls, buttons, check boxes)
// and ticks them once a frame. The components register themselves; the system owns none.
#include "engine/System.h"

#include <vector>

namespace quellor {

class ButtonComponent;
class CheckboxComponent;
class UIComponent;

class UISystem : public System {
    QUELLOR_REFLECT_KEYED(UISystem)

    // The UISystem of an object's own space, or null.
    static UISystem* Of(const QLObject& object);

    UISystem() = default;
    UISystem(const UISystem&) = default;
    ~UISystem() override;

    // Every control, then every button, then every check box, each list front to back. A
    // component added by a callback during the pass is reached in the same pass.
    void Update(float dt) override;

    void Add(UIComponent* component) { m_controls.push_back(component); }
    void Add(ButtonComponent* component) { m_buttons.push_back(component); }
    void Add(CheckboxComponent* component) { m_checkboxes.push_back(component); }
    // Removes the first entry holding the component; false when there is none.
    bool Remove(UIComponent* component);
    bool Remove(ButtonComponent* component);
    bool Remove(CheckboxComponent* component);

    const std::vector<UIComponent*>& GetControls() const { return m_controls; }
    const std::vector<ButtonComponent*>& GetButtons() const { return m_buttons; }
    const std::vector<CheckboxComponent*>& GetCheckboxes() const { return m_checkboxes; }

private:
    std::vector<UIComponent*> m_controls;
    std::vector<ButtonComponent*> m_buttons;
    std::vector<CheckboxComponent*> m_checkboxes;
};

} // namespace quellor
