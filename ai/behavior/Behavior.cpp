#include "ai/behavior/Behavior.h"

namespace quellor {

Behavior::~Behavior() = default;

BehaviorStatus Behavior::Tick(float dt)
{
    if (status != BehaviorStatus::Running)
        OnInitialize();
    status = Update(dt);
    if (status != BehaviorStatus::Running)
        OnTerminate();
    return status;
}

void Behavior::Abort()
{
    status = BehaviorStatus::Aborted;
    OnTerminate();
}

void Behavior::OnInitialize() {}

void Behavior::OnTerminate() {}

void Behavior::Bind(std::shared_ptr<Injector> injector)
{
    SetInjector(std::move(injector));
}

float Behavior::GetPriority() const
{
    return 0.0f;
}

} // namespace quellor
