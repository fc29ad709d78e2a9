#include "ai/behavior/Composite.h"

#include <algorithm>
#include <cstdio>

namespace quellor {

Composite::~Composite() = default;

void Composite::AddChild(Behavior* child)
{
    if (!child) {
        std::printf("Warning: a behaviour-tree composite was given no child; nothing is added\n");
        return;
    }
    children.emplace_back(child);
}

void Composite::Bind(std::shared_ptr<Injector> injector)
{
    SetInjector(std::move(injector));
    for (const auto& child : children)
        child->Bind(GetInjector());
}

float Composite::GetPriority() const
{
    float best = 0.0f;
    for (const auto& child : children)
        best = std::max(best, child->GetPriority());
    return best;
}

BehaviorStatus Composite::RunInOrder(std::size_t& current, float dt, BehaviorStatus moveOn)
{
    while (current < children.size()) {
        const BehaviorStatus result = children[current]->Tick(dt);
        if (result != moveOn)
            return result;
        ++current;
    }
    return moveOn;
}

void Composite::AbortRunningChildren()
{
    for (const auto& child : children)
        if (child->IsRunning())
            child->Abort();
}

} // namespace quellor
