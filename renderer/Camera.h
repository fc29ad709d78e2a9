#pragma once
#include "renderer/math/Dimension.h"
#include "renderer/math/Frustum.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4x4.h"

namespace ZOR {

// View and projection matrices, the eye position and the culling frustum, which is rebuilt
// from projection x view whenever either matrix changes.
class Camera {
public:
    Camera() = default;

    const Frustum& GetFrustum() const { return m_frustum; }
    const float4x4& GetViewMatrix() const { return m_viewMatrix; }
    const float4x4& GetProjectionMatrix() const { return m_projectionMatrix; }
    const float3& GetPosition() const { return m_position; }

    // Stores the eye only; the view matrix and frustum follow at the next LookAt.
    void SetPosition(const float3& position);
    void SetPosition(float x, float y, float z);

    // Looks from the stored position along a direction (not at a target point).
    void LookAt(const float3& direction, const float3& up);

    void SetViewMatrix(const float4x4& view);
    void SetProjectionMatrix(const float4x4& projection);
    // Perspective: writes entries 0, 5, 10, 11, 14 and 15 only.
    void SetProjectionMatrix(float fovY, float aspect, float nearPlane, float farPlane);
    // Orthographic of the given pixel size: writes entries 0, 5, 10 and 11 only, so entries 14
    // and 15 keep whatever an earlier perspective setting left there.
    void SetProjectionMatrix(const Dimension& size, float nearPlane, float farPlane);

private:
    void RebuildFrustum();

    Frustum m_frustum;
    float4x4 m_viewMatrix;
    float4x4 m_projectionMatrix;
    float3 m_position;
};

} // namespace ZOR
