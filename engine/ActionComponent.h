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
public:
    inline static const std::string ID = "ActionComponent";

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
    void Update(float dt);

    ActionList& GetActionList() { return m_actions; }

    std::string m_name;

private:
    friend class ActionSystem;
    IntrusiveLink<ActionComponent> m_link;
    ActionList m_actions;
};

} // namespace quellor
