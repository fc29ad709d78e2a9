#include "engine/Transform3D.h"

#include <cmath>

#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(Transform3D, Component, DerivedMetaNotPOD, WithID)
{
    auto x = reg.Member(QL_FIELD(m_x));
    auto y = reg.Member(QL_FIELD(m_y));
    auto z = reg.Member(QL_FIELD(m_z));
    reg.Member(QL_FIELD(m_scaleX));
    reg.Member(QL_FIELD(m_scaleY));
    reg.Member(QL_FIELD(m_scaleZ));
    // Only a hint for tools on how to present the rotation.
    reg.Member(QL_FIELD(m_rotation)).Extension("euler");
    x.Setter(QL_METHOD(SetX));
    y.Setter(QL_METHOD(SetY));
    z.Setter(QL_METHOD(SetZ));
    x.Getter(QL_METHOD(GetX));
    y.Getter(QL_METHOD(GetY));
    z.Getter(QL_METHOD(GetZ));
    reg.Method(QL_METHOD(GetPosition));
    reg.Method(QL_METHOD(SetPosition));
}

Transform3D::~Transform3D() = default;

Component* Transform3D::Clone() const
{
    return new Transform3D(*this);
}

Mat4 Transform3D::BuildWorldMatrix(float x, float y, float z, float scaleX, float scaleY, float scaleZ,
                                   const Quat& q)
{
    const float x2 = q.x * 2.0f, y2 = q.y * 2.0f, z2 = q.z * 2.0f;
    const float r00 = 1.0f - (q.y * y2 + q.z * z2), r01 = q.x * y2 - q.w * z2, r02 = q.x * z2 + q.w * y2;
    const float r10 = q.x * y2 + q.w * z2, r11 = 1.0f - (q.x * x2 + q.z * z2), r12 = q.y * z2 - q.w * x2;
    const float r20 = q.x * z2 - q.w * y2, r21 = q.y * z2 + q.w * x2, r22 = 1.0f - (q.x * x2 + q.y * y2);
    // R·S scales column j by scale j.
    return Mat4(r00 * scaleX, r01 * scaleY, r02 * scaleZ, x,
                r10 * scaleX, r11 * scaleY, r12 * scaleZ, y,
                r20 * scaleX, r21 * scaleY, r22 * scaleZ, z,
                0.0f, 0.0f, 0.0f, 1.0f);
}

Mat4 Transform3D::BuildWorldMatrix() const
{
    return BuildWorldMatrix(m_x, m_y, m_z, m_scaleX, m_scaleY, m_scaleZ, m_rotation);
}

void Transform3D::UpdateWorldMatrix(float)
{
    m_worldMatrix = BuildWorldMatrix();
}

void Transform3D::SetPosition(float x, float y, float z)
{
    m_x = x;
    m_y = y;
    m_z = z;
}

void Transform3D::SetScale(float x, float y, float z)
{
    m_scaleX = x;
    m_scaleY = y;
    m_scaleZ = z;
}

namespace {

Vec4 Axis(float a, float b, float c)
{
    const float length = std::sqrt(a * a + b * b + c * c);
    if (length != 0.0f) {
        return Vec4(a / length, b / length, c / length, 0.0f);
    }
    return Vec4(a, b, c, 0.0f);
}

} // namespace

Vec4 Transform3D::GetRight() const
{
    return Axis(m_worldMatrix.m00, m_worldMatrix.m10, m_worldMatrix.m20);
}

Vec4 Transform3D::GetUp() const
{
    return Axis(m_worldMatrix.m01, m_worldMatrix.m11, m_worldMatrix.m21);
}

Vec4 Transform3D::GetForward() const
{
    return Axis(m_worldMatrix.m02, m_worldMatrix.m12, m_worldMatrix.m22);
}

} // namespace quellor
