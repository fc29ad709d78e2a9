#include "gameplay/ShotPose.h"

#include <algorithm>

namespace quellor {

void ShotPose::SetOrbBlast(float length, float hold)
{
    m_orbLength = length;
    m_orbRemaining = length;
    m_orbHold = hold;
}

void ShotPose::SetLiftBlast(float length)
{
    m_liftRequest = length;
    m_liftLength = length;
}

void ShotPose::Reset()
{
    m_orbRemaining = 0.0f;
    m_liftLevel = 0.0f;
    m_liftRequest = 0.0f;
}

float ShotPose::Advance(float dt)
{
    float b;
    if (m_orbRemaining > 0.0f) {
        const float r = m_orbRemaining;
        const float ramp = (m_orbLength - m_orbHold) * 0.5f;
        if (r < ramp)
            b = r / ramp;
        else if (r > m_orbLength - ramp)
            b = (m_orbLength - r) / ramp;
        else
            b = 1.0f;
        m_orbRemaining -= dt;
    } else {
        const float q = m_liftRequest;
        const float l = m_liftLevel;
        if (q > 0.0f && q > l) {
            b = l / q;
            m_liftLevel += dt;
        } else if (q > 0.0f) {
            b = l > 0.0f ? 1.0f : 0.0f;
        } else if (l > 0.0f) {
            b = l / m_liftLength;
            m_liftLevel -= dt;
        } else {
            b = 0.0f;
        }
        m_liftRequest = 0.0f;
    }
    // The level steps by whole frames, so it can end a frame past either end of its ramp (above
    // the length, or below 0 where a new request would read it): keep b a share.
    return std::clamp(b, 0.0f, 1.0f);
}

} // namespace quellor
