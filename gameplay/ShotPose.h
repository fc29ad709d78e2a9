#pragma once
// The timers of a character's shot pose: the orb shot's rise, hold and fall, and the lift beam's
// ramp, which rises while the beam is requested every frame and falls once the requests stop.
// The orb shot takes precedence; while it runs the lift ramp is left as it is.
namespace quellor {

class ShotPose {
public:
    // Restarts the orb pose: it rises over (length - hold) / 2, holds, then falls as long.
    void SetOrbBlast(float length, float hold);
    // Requests the lift pose for the next Advance; length is its ramp time.
    void SetLiftBlast(float length);
    // Ends both poses at once.
    void Reset();

    // This frame's pose factor b, from 0 to 1, then the timers move on by dt.
    float Advance(float dt);

    float GetOrbRemaining() const { return m_orbRemaining; }
    float GetLiftLevel() const { return m_liftLevel; }

private:
    float m_orbLength = 0.0f;
    float m_orbRemaining = -1.0f; // at 0 or below, no orb pose
    float m_orbHold = 0.0f;
    float m_liftLevel = 0.0f;
    float m_liftRequest = 0.0f; // cleared by each Advance that serves the lift ramp
    float m_liftLength = 0.0f;
};

} // namespace quellor
