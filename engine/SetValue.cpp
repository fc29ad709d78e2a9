#include "engine/SetValue.h"

namespace quellor {

SetValue::SetValue(float* target, const float& value)
    : Action(true), m_holder(std::make_unique<SetValueImpl<float>>(target, value))
{
    ConnectHandlers();
}

SetValue::SetValue(bool* target, bool value)
    : Action(true), m_holder(std::make_unique<SetValueImpl<bool>>(target, value))
{
    ConnectHandlers();
}

SetValue::~SetValue() = default;

void SetValue::ConnectHandlers()
{
    m_onStarted.Connect(MakeDelegate(this, &SetValue::Execute), 0);
    m_onEnded.Connect(MakeDelegate(this, &SetValue::Release), 0);
}

void SetValue::Update(float) {}

void SetValue::Execute()
{
    if (m_holder)
        m_holder->Apply();
    Finish();
}

void SetValue::Release()
{
    m_holder.reset();
}

} // namespace quellor
