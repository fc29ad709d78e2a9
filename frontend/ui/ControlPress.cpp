#include "frontend/ui/ControlPress.h"

#include "engine/Entity.h"
#include "engine/Input.h"
#include "frontend/ui/UIComponent.h"

namespace quellor {

bool ControlPress::Pressed(const Component& owner)
{
    if (!m_input)
        m_input = owner.GetSystem<Input>();
    if (!m_control) {
        if (Entity* entity = owner.GetOwner())
            m_control = dynamic_cast<UIComponent*>(entity->GetComponent(UIComponent::ID));
    }
    if (!m_input || !m_control || !m_control->IsEnabled() || !m_control->IsSelected())
        return false;
    return m_input->KeyIsPressed(kEnter, -1) || (m_input->IsConnected(0) && m_input->KeyIsPressed(kPadA, 0));
}

} // namespace quellor
