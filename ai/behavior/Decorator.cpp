#include "ai/behavior/Decorator.h"

#include <cstdio>
#include <typeinfo>

namespace quellor {

Decorator::~Decorator() = default;

void Decorator::SetChild(Behavior* newChild)
{
    if (newChild != child.get())
        child.reset(newChild);
}

BehaviorStatus Decorator::Update(float dt)
{
    if (!child) {
        if (!m_warned)
            std::printf("Warning: a behaviour-tree decorator (%s) has no child; it fails\n", typeid(*this).name());
        m_warned = true;
        return BehaviorStatus::Failure;
    }
    return Decorate(dt);
}

void Decorator::OnTerminate()
{
    if (child && child->IsRunning())
        child->Abort();
}

void Decorator::Bind(std::shared_ptr<Injector> injector)
{
    SetInjector(std::move(injector));
    if (child)
        child->Bind(GetInjector());
}

float Decorator::GetPriority() const
{
    return child ? child->GetPriority() : 0.0f;
}

} // namespace quellor
