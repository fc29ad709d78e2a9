#include "physics/ContactSolver3D.h"

#include "physics/Collider3D.h"
#include "physics/Contact3D.h"
#include "physics/ContactPoint3D.h"
#include "physics/Island3D.h"
#include "physics/PhysicsMath3D.h"
#include "physics/RigidBody3D.h"
#include "physics/TimeStep3D.h"
#include "physics/WorldSettings3D.h"

#include <algorithm>
#include <cmath>

namespace quellor {

using namespace physics_math;

namespace {

// Below this a direction has no effective mass worth dividing by.
constexpr float kLeastDenominator = 1e-12f;
constexpr float kLeastRelativeSpeedSquared = 1e-10f;
constexpr float kLeastTurnSquared = 0.00001f;

bool IsUsableLength(float length)
{
    return length != 0.0f && !std::isnan(length);
}

// Unit length unless the length is 0 or not a number; then the vector as it is.
float3 NormalizedUnlessDegenerate(const float3& v)
{
    const float length = std::sqrt(LengthSquared(v));
    return IsUsableLength(length) ? v * (1.0f / length) : v;
}

struct PointBodies {
    RigidBody3D& a;
    RigidBody3D& b;
};

PointBodies BodiesOf(const Contact3D& contact)
{
    return {*contact.m_colliderA->m_body, *contact.m_colliderB->m_body};
}

float3 WorldPoint(const RigidBody3D& body, const float3& local)
{
    return body.m_position + body.m_rotation * local;
}

float3 VelocityAt(const RigidBody3D& body, const float3& r)
{
    return body.m_linearVelocity + body.m_angularVelocity.Cross(r);
}

float Denominator(const RigidBody3D& a, const RigidBody3D& b, const float3& rA, const float3& rB, const float3& d)
{
    const float3 ra = rA.Cross(d);
    const float3 rb = rB.Cross(d);
    return a.m_inverseMass + b.m_inverseMass + ra.Dot(a.m_worldInverseInertia * ra) +
           rb.Dot(b.m_worldInverseInertia * rb);
}

void ApplyImpulse(RigidBody3D& body, const float3& r, const float3& impulse)
{
    body.m_linearVelocity += impulse * body.m_inverseMass;
    body.m_angularVelocity += body.m_worldInverseInertia * r.Cross(impulse);
}

float RowVelocity(const ContactJacobian3D& row, const RigidBody3D& a, const RigidBody3D& b)
{
    return row.m_linearA.Dot(a.m_linearVelocity) + row.m_angularA.Dot(a.m_angularVelocity) +
           row.m_linearB.Dot(b.m_linearVelocity) + row.m_angularB.Dot(b.m_angularVelocity);
}

void ApplyRow(const ContactJacobian3D& row, float impulse, RigidBody3D& a, RigidBody3D& b)
{
    a.m_linearVelocity += row.m_linearA * (a.m_inverseMass * impulse);
    a.m_angularVelocity += a.m_worldInverseInertia * (row.m_angularA * impulse);
    b.m_linearVelocity += row.m_linearB * (b.m_inverseMass * impulse);
    b.m_angularVelocity += b.m_worldInverseInertia * (row.m_angularB * impulse);
}

ContactJacobian3D MakeRow(const float3& d, const float3& rA, const float3& rB)
{
    return {-d, -rA.Cross(d), d, rB.Cross(d)};
}

// Turns the body by the rotation vector change (angle = its length), then refreshes the data
// derived from its pose.
void Turn(RigidBody3D& body, const float3& change)
{
    const float lengthSquared = LengthSquared(change);
    if (lengthSquared > kLeastTurnSquared && (body.m_shapeFlags & kShapeAllowRotation) != 0) {
        const float angle = std::sqrt(lengthSquared);
        const float3 axis = change * (1.0f / angle);
        const float s = std::sin(0.5f * angle);
        body.m_rotation = RotationFromQuaternion(axis.x * s, axis.y * s, axis.z * s, std::cos(0.5f * angle)) *
                          body.m_rotation;
    }
    body.UpdateRotation();
    body.UpdatePosition();
    body.UpdateWorldInverseInertia();
}

} // namespace

float EffectiveMass3D(float denominator)
{
    if (!std::isfinite(denominator) || denominator <= kLeastDenominator)
        return 0.0f;
    return 1.0f / denominator;
}

void ContactSolver3D::Solve(const TimeStep3D& step)
{
    const WorldSettings3D& settings = *step.m_settings;
    IntegrateVelocities(step);
    if (settings.m_warmStarting)
        WarmStart(step);
    else
        ClearImpulses();
    PrepareVelocity(step);
    for (int i = 0; i < step.m_velocityIterations; ++i)
        SolveVelocity(step);
    if (settings.m_warmStarting)
        StoreImpulses();
    IntegratePositions(step);
    for (int i = 0; i < step.m_positionIterations; ++i)
        SolvePosition(step);
    for (RigidBody3D* body : m_island.m_bodies)
        body->UpdateColliderBounds();
}

void ContactSolver3D::IntegrateVelocities(const TimeStep3D& step)
{
    const float dt = step.m_dt;
    for (RigidBody3D* body : m_island.m_bodies) {
        if (body->m_motionType != kBodyDynamic)
            continue;
        if ((body->m_shapeFlags & kShapeHasGravity) != 0 && m_island.m_gravity)
            body->m_linearVelocity += *m_island.m_gravity * dt;
        body->m_linearVelocity += (body->m_force * dt + body->m_linearImpulse) * body->m_inverseMass;
        body->m_angularVelocity += body->m_worldInverseInertia * (body->m_torque * dt + body->m_angularImpulse);
        body->m_force = float3();
        body->m_torque = float3();
        body->m_linearImpulse = float3();
        body->m_angularImpulse = float3();
        body->m_linearVelocity *= m_island.m_linearDamping;
        body->m_angularVelocity *= m_island.m_angularDamping;
    }
}

void ContactSolver3D::WarmStart(const TimeStep3D& step)
{
    const WorldSettings3D& settings = *step.m_settings;
    for (Contact3D* contact : m_island.m_contacts) {
        PointBodies bodies = BodiesOf(*contact);
        for (int i = 0; i < contact->m_pointCount; ++i) {
            ContactPoint3D& p = *contact->m_points[i];
            p.m_accumulatedNormalImpulse = 0.0f;
            p.m_accumulatedFriction1 = 0.0f;
            p.m_accumulatedFriction2 = 0.0f;
            if (!p.m_persisted)
                continue;
            const float3 rA = WorldPoint(bodies.a, p.m_localPointA) - bodies.a.m_worldCenterOfMass;
            const float3 rB = WorldPoint(bodies.b, p.m_localPointB) - bodies.b.m_worldCenterOfMass;
            const float3& n = p.m_normal;
            const float s = settings.m_warmStartScale * p.m_savedNormalImpulse;
            ApplyImpulse(bodies.a, rA, -n * s);
            ApplyImpulse(bodies.b, rB, n * s);
            // The velocity iterations start from what was applied here, so that they can take
            // it back: a point that was hit hard in the last step must not be pushed as hard
            // again once it is resting.
            p.m_accumulatedNormalImpulse = s;

            const float3 relative = VelocityAt(bodies.b, rB) - VelocityAt(bodies.a, rA);
            if (!(LengthSquared(relative) > kLeastRelativeSpeedSquared))
                continue;
            const float3 t = NormalizedUnlessDegenerate(relative - n * relative.Dot(n));
            const float mass = EffectiveMass3D(Denominator(bodies.a, bodies.b, rA, rB, t));
            const float limit = contact->m_friction * s;
            const float impulse =
                std::clamp(-relative.Dot(t) * mass * settings.m_warmStartScale, -std::fabs(limit), std::fabs(limit));
            ApplyImpulse(bodies.a, rA, -t * impulse);
            ApplyImpulse(bodies.b, rB, t * impulse);
            p.m_accumulatedFriction1 = impulse * t.Dot(p.m_tangent1);
            p.m_accumulatedFriction2 = impulse * t.Dot(p.m_tangent2);
        }
    }
}

void ContactSolver3D::PrepareVelocity(const TimeStep3D& step)
{
    const WorldSettings3D& settings = *step.m_settings;
    const float biasRate = settings.m_biasFactor / step.m_dt;
    for (Contact3D* contact : m_island.m_contacts) {
        PointBodies bodies = BodiesOf(*contact);
        for (int i = 0; i < contact->m_pointCount; ++i) {
            ContactPoint3D& p = *contact->m_points[i];
            p.m_pointA = WorldPoint(bodies.a, p.m_localPointA);
            p.m_pointB = WorldPoint(bodies.b, p.m_localPointB);
            const float3 rA = p.m_pointA - bodies.a.m_worldCenterOfMass;
            const float3 rB = p.m_pointB - bodies.b.m_worldCenterOfMass;
            const float3& n = p.m_normal;

            p.m_normalRow = MakeRow(n, rA, rB);
            p.m_tangent1Row = MakeRow(p.m_tangent1, rA, rB);
            p.m_tangent2Row = MakeRow(p.m_tangent2, rA, rB);
            p.m_normalMass = EffectiveMass3D(Denominator(bodies.a, bodies.b, rA, rB, n));
            p.m_tangent1Mass = EffectiveMass3D(Denominator(bodies.a, bodies.b, rA, rB, p.m_tangent1));
            p.m_tangent2Mass = EffectiveMass3D(Denominator(bodies.a, bodies.b, rA, rB, p.m_tangent2));

            const float3 relative = VelocityAt(bodies.b, rB) - VelocityAt(bodies.a, rA);
            const float normalSpeed = relative.Dot(n);
            p.m_normalRelativeVelocity = n * normalSpeed;
            p.m_tangentialRelativeVelocity = relative - p.m_normalRelativeVelocity;

            const float penetration = (p.m_pointA - p.m_pointB).Dot(n);
            p.m_depth = penetration;
            const float bias = -std::max(0.0f, penetration - settings.m_linearSlop) * biasRate;
            const float restitution =
                std::min(0.0f, normalSpeed * contact->m_restitution + settings.m_restitutionOffset);
            // A velocity: the penetration enters only through the bias. Adding it along the
            // direction of the bodies' relative motion would make a resting body's target flip
            // sign with its vanishing vertical speed and keep it from settling.
            p.m_velocityTarget = restitution + bias;
        }
    }
}

void ContactSolver3D::SolveVelocity(const TimeStep3D& step)
{
    const WorldSettings3D& settings = *step.m_settings;
    for (Contact3D* contact : m_island.m_contacts) {
        PointBodies bodies = BodiesOf(*contact);
        for (int i = 0; i < contact->m_pointCount; ++i) {
            ContactPoint3D& p = *contact->m_points[i];

            const float lambda = -(RowVelocity(p.m_normalRow, bodies.a, bodies.b) + p.m_velocityTarget) * p.m_normalMass;
            const float normal = std::max(0.0f, p.m_accumulatedNormalImpulse + lambda);
            ApplyRow(p.m_normalRow, normal - p.m_accumulatedNormalImpulse, bodies.a, bodies.b);
            p.m_accumulatedNormalImpulse = normal;

            const float limit =
                std::max(0.0f, p.m_accumulatedNormalImpulse - settings.m_frictionImpulseOffset) * contact->m_friction;
            const float lambda1 = -RowVelocity(p.m_tangent1Row, bodies.a, bodies.b) * p.m_tangent1Mass;
            const float lambda2 = -RowVelocity(p.m_tangent2Row, bodies.a, bodies.b) * p.m_tangent2Mass;
            const float friction1 = std::clamp(p.m_accumulatedFriction1 + lambda1, -limit, limit);
            const float friction2 = std::clamp(p.m_accumulatedFriction2 + lambda2, -limit, limit);
            ApplyRow(p.m_tangent1Row, friction1 - p.m_accumulatedFriction1, bodies.a, bodies.b);
            ApplyRow(p.m_tangent2Row, friction2 - p.m_accumulatedFriction2, bodies.a, bodies.b);
            p.m_accumulatedFriction1 = friction1;
            p.m_accumulatedFriction2 = friction2;
        }
    }
}

void ContactSolver3D::ClearImpulses()
{
    for (Contact3D* contact : m_island.m_contacts) {
        for (int i = 0; i < contact->m_pointCount; ++i) {
            ContactPoint3D& p = *contact->m_points[i];
            p.m_accumulatedNormalImpulse = 0.0f;
            p.m_accumulatedFriction1 = 0.0f;
            p.m_accumulatedFriction2 = 0.0f;
        }
    }
}

void ContactSolver3D::StoreImpulses()
{
    for (Contact3D* contact : m_island.m_contacts) {
        for (int i = 0; i < contact->m_pointCount; ++i) {
            ContactPoint3D& p = *contact->m_points[i];
            p.m_savedNormalImpulse = p.m_accumulatedNormalImpulse;
            p.m_normalImpulse = p.m_normal * p.m_accumulatedNormalImpulse;
            p.m_frictionImpulse = p.m_tangent1 * p.m_accumulatedFriction1 + p.m_tangent2 * p.m_accumulatedFriction2;
            p.m_accumulatedNormalImpulse = 0.0f;
            p.m_accumulatedFriction1 = 0.0f;
            p.m_accumulatedFriction2 = 0.0f;
        }
    }
}

void ContactSolver3D::IntegratePositions(const TimeStep3D& step)
{
    for (RigidBody3D* body : m_island.m_bodies) {
        body->IntegratePosition(step.m_dt);
        body->UpdateWorldInverseInertia();
    }
}

void ContactSolver3D::SolvePosition(const TimeStep3D& step)
{
    const WorldSettings3D& settings = *step.m_settings;
    for (Contact3D* contact : m_island.m_contacts) {
        PointBodies bodies = BodiesOf(*contact);
        for (int i = 0; i < contact->m_pointCount; ++i) {
            ContactPoint3D& p = *contact->m_points[i];
            const float3 pointA = WorldPoint(bodies.a, p.m_localPointA);
            const float3 pointB = WorldPoint(bodies.b, p.m_localPointB);
            const float3 rA = pointA - bodies.a.m_worldCenterOfMass;
            const float3 rB = pointB - bodies.b.m_worldCenterOfMass;
            const float3& n = p.m_normal;

            const float separation = (pointA - pointB).Dot(n);
            const float correction = std::clamp((separation - settings.m_positionSlop) *
                                                    settings.m_positionCorrectionFactor,
                                                0.0f, settings.m_greatestPositionCorrection);
            if (correction < settings.m_leastPositionCorrection)
                continue;
            const float lambda = correction * EffectiveMass3D(Denominator(bodies.a, bodies.b, rA, rB, n));
            if (lambda == 0.0f)
                continue;

            // Only dynamic bodies move; the others have no inverse mass to move by anyway, and
            // refreshing their derived data would only add rounding to poses that must not change.
            if (bodies.a.m_motionType == kBodyDynamic) {
                bodies.a.m_worldCenterOfMass -= n * (lambda * bodies.a.m_inverseMass);
                Turn(bodies.a, -(bodies.a.m_worldInverseInertia * rA.Cross(n)) * lambda);
            }
            if (bodies.b.m_motionType == kBodyDynamic) {
                bodies.b.m_worldCenterOfMass += n * (lambda * bodies.b.m_inverseMass);
                Turn(bodies.b, (bodies.b.m_worldInverseInertia * rB.Cross(n)) * lambda);
            }
        }
    }
}

} // namespace quellor
