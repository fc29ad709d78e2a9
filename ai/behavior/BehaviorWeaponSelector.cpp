#include "ai/behavior/BehaviorWeaponSelector.h"

namespace quellor {

Behavior* BehaviorWeaponSelector::ChooseChild() const
{
    Behavior* best = nullptr;
    float bestScore = 0.0f;
    for (const auto& child : children) {
        const float priority = child->GetPriority();
        if (priority > bestScore) {
            best = child.get();
            bestScore = priority;
        }
    }
    return best;
}

void BehaviorWeaponSelector::OnInitialize()
{
    current = ChooseChild();
}

BehaviorStatus BehaviorWeaponSelector::Update(float dt)
{
    if (!current)
        return BehaviorStatus::Failure;
    Behavior* chosen = ChooseChild();
    if (chosen != current) {
        if (current->IsRunning())
            current->OnTerminate();
        current = chosen;
    }
    if (!current)
        return BehaviorStatus::Failure;
    return current->Tick(dt);
}

void BehaviorWeaponSelector::OnTerminate()
{
    if (current && current->IsRunning())
        current->Abort();
}

} // namespace quellor
