#pragma once
// Gives an entity an action list of its own, which the "ActionSystem" of the entity's space
// updates after its root list. The flow is cancelled when the component is uninitialised,
// so it ends with its entity.
#include "engine/ActionList.h"
#include "engine/Component.h"
#include "engine/IntrusiveList.h"

#include <string>

namespace quellor {

class ActionComponent : public Component {
    QUELLOR_REFLECT_KEYED(ActionComponent)

    // With a first action, m_name becomes the name of its record and it is pushed to lane 0.
    explicit ActionComponent(Action* first = nullptr);
    // The flow is not copied: a copy starts with an empty list.
    ActionComponent(const ActionComponent& other);
    ~ActionComponent() override;

    // Actions cannot be copied, so neither can this component.
    Component* Clone() const override;
    void Initialize() override;
    void Uninitialize() override;
    void DebugDraw(ZOR::DebugDrawer* drawer) override;

    void AddAction(Action* action, int lane);

    // Stores the name and starts an action of the reflected class of that name in lane 0. An
    // empty name changes nothing; a name that names no action class that can be made by name
    // is stored, warned about, and starts nothing.
    void SetBasedOnName(std::string name);
    void Update(float dt);

    ActionList& GetActionList() { return m_actions; }

    std::string m_name;

private:
    friend class ActionSystem;
    IntrusiveLink<ActionComponent> m_link;
    ActionList m_actions;
};

} // namespace quellor
