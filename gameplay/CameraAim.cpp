#include "gameplay/CameraAim.h"

#include "engine/Entity.h"
#include "engine/graphics/Convert.h"
#include "gameplay/PlayerUtil.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "renderer/Camera.h"

namespace quellor {

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
    const Vec4 eye(aim.eye.x, aim.eye.y, aim.eye.z, 1.0f);
    aim.origin = ToFloat3(PlayerUtil::ViewLineOrigin(eye, camera->GetForward(), body));
    return true;
}

} // namespace quellor
