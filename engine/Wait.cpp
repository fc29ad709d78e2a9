#include "engine/Wait.h"

#include <limits>

namespace quellor {

namespace {
constexpr float kNotLoaded = std::numeric_limits<float>::lowest();
}

Wait::Wait(float seconds) : Action(true), m_duration(seconds), m_remaining(kNotLoaded) {}

Wait::~Wait() = default;

void Wait::Update(float dt)
{
    if (m_remaining == kNotLoaded)
        m_remaining = m_duration;
    m_remaining -= dt;
    if (m_remaining <= 0.0f)
        Finish();
}

} // namespace quellor
