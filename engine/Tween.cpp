#include "engine/Tween.h"

namespace quellor {

Tween::Tween() : Action(true) {}

// A tween deleted while it drives its float must not keep the float claimed.
Tween::~Tween()
{
    ReleaseTarget();
}

std::unordered_map<const float*, Tween*>& Tween::ActiveTweens()
{
    // Never destroyed: tweens may outlive static destruction.
    static auto* table = new std::unordered_map<const float*, Tween*>;
    return *table;
}

Tween* Tween::ActiveTweenOf(const float* target)
{
    auto& table = ActiveTweens();
    auto found = table.find(target);
    return found == table.end() ? nullptr : found->second;
}

void Tween::SetEasing(int index)
{
    m_easing = Easing::Get(index);
}

void Tween::Start()
{
    if (m_target) {
        auto& table = ActiveTweens();
        auto found = table.find(m_target);
        if (found != table.end() && found->second != this) {
            if (!m_override) {
                Finish();
                return;
            }
            found->second->Cancel();
        }
        table[m_target] = this;
    }
    float current = m_useDelegates ? m_getter() : (m_target ? *m_target : 0.0f);
    ComputeRange(current, m_begin, m_change, m_relative);
    Write(m_begin);
    m_elapsed = 0.0f;
}

void Tween::Update(float dt)
{
    m_elapsed += dt;
    if (m_duration > m_elapsed) {
        Write(m_easing(m_elapsed, m_begin, m_change, m_duration));
    } else {
        Write(m_begin + m_change);
        Finish();
    }
}

void Tween::End()
{
    ReleaseTarget();
}

void Tween::Write(float value)
{
    if (m_useDelegates)
        m_setter(value);
    else if (m_target)
        *m_target = value;
}

void Tween::ReleaseTarget()
{
    if (!m_target)
        return;
    auto& table = ActiveTweens();
    auto found = table.find(m_target);
    if (found != table.end() && found->second == this)
        table.erase(found);
}

} // namespace quellor
