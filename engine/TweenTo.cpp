#include "engine/TweenTo.h"

namespace quellor {

TweenTo::TweenTo(float* target, float duration, float to, int easing, bool override, bool relative) : m_to(to)
{
    m_target = target;
    m_duration = duration;
    m_override = override;
    m_relative = relative;
    SetEasing(easing);
    m_onStarted.Connect(MakeDelegate(static_cast<Tween*>(this), &Tween::Start), 0);
    m_onEnded.Connect(MakeDelegate(static_cast<Tween*>(this), &Tween::End), 0);
}

TweenTo::TweenTo(Delegate<float> getter, Delegate<void, float> setter, float duration, float to, int easing,
                 bool relative)
    : m_to(to)
{
    m_duration = duration;
    m_relative = relative;
    m_useDelegates = true;
    m_getter = std::move(getter);
    m_setter = std::move(setter);
    SetEasing(easing);
    m_onStarted.Connect(MakeDelegate(static_cast<Tween*>(this), &Tween::Start), 0);
    m_onEnded.Connect(MakeDelegate(static_cast<Tween*>(this), &Tween::End), 0);
}

TweenTo::~TweenTo() = default;

void TweenTo::ComputeRange(float current, float& begin, float& change, bool relative)
{
    begin = current;
    change = relative ? m_to : m_to - begin;
}

} // namespace quellor
