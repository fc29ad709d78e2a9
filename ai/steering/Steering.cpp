#include "ai/steering/Steering.h"

#include "engine/Mat3.h"
#include "engine/Random.h"

#include <algorithm>
#include <cmath>

namespace quellor {

namespace steering {

Vec4 Add(const Vec4& a, const Vec4& b)
{
    return Vec4(a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w);
}

Vec4 Subtract(const Vec4& a, const Vec4& b)
{
    return Vec4(a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w);
}

Vec4 Scale(const Vec4& a, float k)
{
    return Vec4(a.x * k, a.y * k, a.z * k, a.w * k);
}

float Length(const Vec4& a)
{
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}

Vec4 Normalize(const Vec4& a)
{
    const float length = Length(a);
    if (length == 0.0f)
        return a;
    return Vec4(a.x / length, a.y / length, a.z / length, a.w);
}

float Dot(const Vec4& a, const Vec4& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

Quat Scale(const Quat& q, float k)
{
    return Quat(q.x * k, q.y * k, q.z * k, q.w * k);
}

Quat Multiply(const Quat& a, const Quat& b)
{
    return Quat(a.x * b.w + b.x * a.w + (a.y * b.z - a.z * b.y), a.y * b.w + b.y * a.w + (a.z * b.x - a.x * b.z),
                a.z * b.w + b.z * a.w + (a.x * b.y - a.y * b.x), a.w * b.w - (a.x * b.x + a.y * b.y + a.z * b.z));
}

Vec4 Seek(const Vec4& p, const Vec4& t, float s)
{
    return Scale(Normalize(Subtract(t, p)), s);
}

Vec4 SeekMatchingVelocity(const Vec4& p, const Vec4& v, const Vec4& t, float s)
{
    return Subtract(Seek(p, t, s), v);
}

Vec4 Flee(const Vec4& p, const Vec4& t, float s)
{
    return Scale(Normalize(Subtract(p, t)), s);
}

Vec4 Arrive(const Vec4& p, const Vec4& t, float s, float slowRadius)
{
    const Vec4 d = Subtract(t, p);
    const float distance = Length(d);
    // At the target: zero, also for a zero slow radius, where the ratio would be 0/0.
    if (distance == 0.0f)
        return Vec4();
    const float speed = slowRadius >= distance ? distance / slowRadius * s : s;
    return Scale(Normalize(d), speed);
}

namespace {

// Where the target will be when a chaser at full speed could reach it; false when the
// look-ahead has no finite value.
bool FuturePosition(const Vec4& p, const Vec4& t, const Vec4& tv, float s, Vec4& future)
{
    const float closing = Length(tv) + s;
    if (closing == 0.0f)
        return false;
    const float lookAhead = Length(Subtract(t, p)) / closing;
    future = Add(t, Scale(tv, lookAhead));
    return true;
}

} // namespace

Vec4 Pursue(const Vec4& p, const Vec4& t, const Vec4& tv, float s)
{
    Vec4 future;
    if (!FuturePosition(p, t, tv, s, future))
        return Vec4();
    return Scale(Normalize(Subtract(future, p)), s);
}

Vec4 Evade(const Vec4& p, const Vec4& t, const Vec4& tv, float s)
{
    Vec4 future;
    if (!FuturePosition(p, t, tv, s, future))
        return Vec4();
    return Scale(Normalize(Subtract(p, future)), s);
}

Vec4 WanderTurn(Quat& rotation, float maxAngle)
{
    Mat3 r = rotation.ToMatrix();
    const float lo = std::min(-maxAngle, maxAngle);
    const float hi = std::max(-maxAngle, maxAngle);
    const float theta = lo + RandomUnit() * (hi - lo);
    const float c = std::cos(theta);
    const float sn = std::sin(theta);
    // Rows 1 and 2 mix as a turn about x; both new rows come from the old ones.
    const float r10 = r.m10, r11 = r.m11, r12 = r.m12;
    r.m10 = r10 * c - r.m20 * sn;
    r.m11 = r11 * c - r.m21 * sn;
    r.m12 = r12 * c - r.m22 * sn;
    r.m20 = r.m20 * c + r10 * sn;
    r.m21 = r.m21 * c + r11 * sn;
    r.m22 = r.m22 * c + r12 * sn;
    rotation.SetFromMatrix(r);
    return Vec4();
}

bool LookAtRotation(const Vec4& p, const Vec4& t, Quat& rotation)
{
    const float dx = t.x - p.x;
    const float dz = t.z - p.z;
    const float length = std::sqrt(dx * dx + dz * dz);
    if (length == 0.0f)
        return false;
    const float sx = dx / length;
    const float sz = dz / length;
    rotation.SetFromMatrix(Mat3(sz, 0.0f, sx, 0.0f, 1.0f, 0.0f, -sx, 0.0f, sz));
    return true;
}

} // namespace steering

float RandomClamped()
{
    float sum = 0.0f;
    for (int i = 0; i < 3; ++i)
        sum += RandomUnit() * 2.0f - 1.0f;
    return sum * 0.33333334f;
}

float RandomClampedScaled(float scale)
{
    return RandomClamped() * scale;
}

} // namespace quellor
