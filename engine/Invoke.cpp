#include "engine/Invoke.h"

namespace quellor {

Invoke::Invoke(std::function<void()> function) : Action(true), m_function(std::move(function))
{
    m_onStarted.Connect(MakeDelegate(this, &Invoke::Execute), 0);
}

Invoke::Invoke(Delegate<> delegate) : Action(true), m_delegate(std::move(delegate))
{
    m_onStarted.Connect(MakeDelegate(this, &Invoke::ExecuteDelegate), 0);
}

Invoke::~Invoke() = default;

void Invoke::Execute()
{
    m_function();
    Finish();
}

void Invoke::ExecuteDelegate()
{
    m_delegate();
    Finish();
}

} // namespace quellor
