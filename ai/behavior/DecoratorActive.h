#pragma once
// Runs its child only while the agent may act (its PlayerDataComponent's canControl): losing
// control fails the decorator, which aborts a running child, so the subtree restarts from
// scratch when control returns. An agent without a PlayerDataComponent never acts.
#include "ai/AgentLookup.h"
#include "ai/behavior/Decorator.h"

namespace quellor {

class DecoratorActive : public Decorator {
public:
    DecoratorActive();

protected:
    BehaviorStatus Decorate(float dt) override;

private:
    AgentLookup m_lookup;
};

} // namespace quellor
