#include "engine/Action.h"

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(Action, QLObject, DerivedMetaNotPODNoCopy, NoID) {}

Action::Action(bool updateOnStart) : m_updateOnStart(updateOnStart) {}

Action::~Action() = default;

void Action::Update(float) {}

void Action::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    ++m_emitting;
    m_onFinished.Emit();
    m_onEnded.Emit();
    LeaveEvents();
}

void Action::Cancel()
{
    if (m_finished)
        return;
    m_finished = true;
    ++m_emitting;
    m_onCancelled.Emit();
    m_onEnded.Emit();
    LeaveEvents();
}

void Action::LeaveEvents()
{
    if (--m_emitting == 0 && m_releasePending)
        delete this;
}

void Action::Dispose(Action* action)
{
    if (!action)
        return;
    if (action->m_emitting > 0)
        action->m_releasePending = true;
    else
        delete action;
}

} // namespace quellor
