#include "renderer/Camera.h"

#include <cmath>

namespace ZOR {

void Camera::SetPosition(const float3& position)
{
    m_position = position;
}

void Camera::SetPosition(float x, float y, float z)
{
    m_position.Set(x, y, z);
}

void Camera::LookAt(const float3& direction, const float3& up)
{
    m_viewMatrix.SetLookAt(m_position, direction, up);
    RebuildFrustum();
}

void Camera::SetViewMatrix(const float4x4& view)
{
    m_viewMatrix = view;
    RebuildFrustum();
}

void Camera::SetProjectionMatrix(const float4x4& projection)
{
    m_projectionMatrix = projection;
    RebuildFrustum();
}

void Camera::SetProjectionMatrix(float fovY, float aspect, float nearPlane, float farPlane)
{
    const float t = std::tan(fovY * 0.5f);
    float* p = m_projectionMatrix.m;
    p[0] = 1.0f / (t * aspect);
    p[5] = 1.0f / t;
    p[10] = farPlane / (nearPlane - farPlane);
    p[11] = nearPlane * farPlane / (nearPlane - farPlane);
    p[14] = -1.0f;
    p[15] = 0.0f;
    RebuildFrustum();
}

void Camera::SetProjectionMatrix(const Dimension& size, float nearPlane, float farPlane)
{
    float* p = m_projectionMatrix.m;
    p[0] = 2.0f / static_cast<float>(size.width);
    p[5] = 2.0f / static_cast<float>(size.height);
    p[10] = 1.0f / (nearPlane - farPlane);
    p[11] = nearPlane / (nearPlane - farPlane);
    RebuildFrustum();
}

void Camera::RebuildFrustum()
{
    m_frustum.BuildFromMatrix(m_projectionMatrix * m_viewMatrix);
}

} // namespace ZOR
