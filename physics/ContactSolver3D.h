#pragma once

namespace quellor {

class Contact3D;
class RigidBody3D;
struct ContactPoint3D;
struct Island3D;
struct TimeStep3D;

// Sequential impulses with warm starting over one island's contacts, then a direct position
// pass. Every per-point value lives in the contact points; the solver allocates nothing.
class ContactSolver3D {
public:
    explicit ContactSolver3D(Island3D& island) : m_island(island) {}

    // Integrates velocities, solves the contacts, integrates positions and corrects the
    // remaining penetration, then refreshes the colliders' world boxes.
    void Solve(const TimeStep3D& step);

    void IntegrateVelocities(const TimeStep3D& step);
    // Applies the scaled impulses of the last step to persisted points and starts this step's
    // accumulated impulses from them; other points start from zero.
    void WarmStart(const TimeStep3D& step);
    // Without warm starting every point starts from zero.
    void ClearImpulses();
    void PrepareVelocity(const TimeStep3D& step);
    void SolveVelocity(const TimeStep3D& step);
    void StoreImpulses();
    void IntegratePositions(const TimeStep3D& step);
    void SolvePosition(const TimeStep3D& step);

private:
    Island3D& m_island;
};

// 1 / denominator, or 0 when the denominator is too small or not finite: then neither body
// can be moved along the direction and no impulse may be applied.
float EffectiveMass3D(float denominator);

} // namespace quellor
