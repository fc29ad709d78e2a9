#include "engine/ActionHandle.h"

#include "engine/Action.h"

namespace quellor {

void ActionHandle::Reset(Action* action)
{
    if (m_action)
        m_action->m_onEnded.Disconnect(MakeDelegate(this, &ActionHandle::OnEnded));
    m_action = nullptr;
    if (!action || action->IsFinished())
        return;
    m_action = action;
    m_action->m_onEnded.Connect(MakeDelegate(this, &ActionHandle::OnEnded), 0);
}

void ActionHandle::Cancel()
{
    if (!m_action)
        return;
    Action* action = m_action;
    action->Cancel();
    // Already ending (the call came from one of its own handlers): let go here.
    Reset();
}

void ActionHandle::OnEnded()
{
    m_action = nullptr;
}

} // namespace quellor
