#include "gameplay/CameraAim.h"

#include "engine/Entity.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "renderer/Camera.h"

namespace quellor {

namespace {

ZOR::float3 ToFloat3(const Vec4& v)
{
    return ZOR::float3(v.x, v.y, v.z);
}

} // namespace

bool CameraAim::Of(const Entity& player, const Vec4& body, CameraAim& aim)
{
    const auto* camera = player.GetComponent<ThirdPersonCameraComponent>();
    const ZOR::Camera* view = camera ? camera->GetCamera() : nullptr;
    if (!view)
        return false;
    aim.eye = view->GetPosition();
    aim.forward = ToFloat3(camera->GetForward());
    aim.up = ToFloat3(camera->GetUp());
    aim.right = ToFloat3(camera->GetRight());
    // A zero forward leaves the origin at the eye.
    const ZOR::float3 n = aim.forward.Normalized();
    aim.origin = aim.eye + n * n.Dot(ToFloat3(body) - aim.eye);
    return true;
}

} // namespace quellor
