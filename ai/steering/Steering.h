#pragma once
// The steering formulas, free of any entity: p = own position, t = target position, s = the
// maximum speed, v = own velocity, tv = target velocity. Vectors act on all four components,
// lengths use x, y and z; to normalise divides x, y, z by that length and leaves a zero vector
// (and w) as it is, so a position pair with w = 1 gives a result with w = 0.
#include "engine/reflection/Quat.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

namespace steering {

// Unit direction to the target times s.
Vec4 Seek(const Vec4& p, const Vec4& t, float s);
// Seek less the current velocity: the change that reaches the seek velocity.
Vec4 SeekMatchingVelocity(const Vec4& p, const Vec4& v, const Vec4& t, float s);
// Unit direction away from the target times s.
Vec4 Flee(const Vec4& p, const Vec4& t, float s);
// Seek whose speed falls linearly to 0 inside slowRadius of the target; zero at the target.
Vec4 Arrive(const Vec4& p, const Vec4& t, float s, float slowRadius);
// Seek toward where the target will be after the look-ahead |t - p| / (|tv| + s); zero when
// |tv| + s is 0.
Vec4 Pursue(const Vec4& p, const Vec4& t, const Vec4& tv, float s);
// Flee from that future point; zero when |tv| + s is 0.
Vec4 Evade(const Vec4& p, const Vec4& t, const Vec4& tv, float s);
// Turns the rotation in place about its x axis by a random angle between -maxAngle and
// maxAngle (one draw of the engine's random source); returns the zero vector.
Vec4 WanderTurn(Quat& rotation, float maxAngle);

// The rotation that turns local +z toward the target across the ground (height ignored), with
// +y up; false, and the rotation untouched, when the target is straight above or below.
bool LookAtRotation(const Vec4& p, const Vec4& t, Quat& rotation);

// Vector helpers of the formulas, shared by the behaviours.
Vec4 Add(const Vec4& a, const Vec4& b);
Vec4 Subtract(const Vec4& a, const Vec4& b);
Vec4 Scale(const Vec4& a, float k);
float Length(const Vec4& a);
Vec4 Normalize(const Vec4& a);
// Over all four components.
float Dot(const Vec4& a, const Vec4& b);
// All four components times k.
Quat Scale(const Quat& q, float k);
// The Hamilton product a ⊗ b.
Quat Multiply(const Quat& a, const Quat& b);

} // namespace steering

// A value in [-1, 1) concentrated toward 0: the mean of three uniform draws in [-1, 1).
float RandomClamped();
float RandomClampedScaled(float scale);

} // namespace quellor
