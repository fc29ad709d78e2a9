#pragma once
// Runs the program's flows: one root action list that never finishes by itself, then the list
// of every registered ActionComponent, in registration order, once a frame.
#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/IntrusiveList.h"
#include "engine/System.h"

namespace quellor {

class ActionSystem : public System {
public:
    inline static const std::string ID = "ActionSystem";

    explicit ActionSystem(Action* first = nullptr);
    ActionSystem(const ActionSystem&) = delete;
    ActionSystem& operator=(const ActionSystem&) = delete;
    ~ActionSystem() override;

    void Update(float dt) override;
    void Initialize() override;
    void Shutdown() override;

    void AddAction(Action* action, int lane);
    void AddActionFront(Action* action, int lane);

    void Register(ActionComponent* component);
    void Unregister(ActionComponent* component);

    ActionList& GetRootList() { return m_root; }
    std::size_t GetComponentCount() const { return m_components.Count(); }

private:
    ActionList m_root;
    IntrusiveList<ActionComponent, &ActionComponent::m_link> m_components;
};

} // namespace quellor
