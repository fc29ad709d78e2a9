#include "gameplay/cameras/MenuCameraComponent.h"

#include "gameplay/cameras/CameraSystem.h"

namespace quellor {

MenuCameraComponent::~MenuCameraComponent() = default;

void MenuCameraComponent::Initialize()
{
    if (CameraSystem* cameras = CameraSystem::Find(*this))
        cameras->AddMenuCamera(this);
}

void MenuCameraComponent::Uninitialize()
{
    if (CameraSystem* cameras = CameraSystem::Find(*this))
        cameras->RemoveMenuCamera(this);
}

void MenuCameraComponent::Update(float) {}

} // namespace quellor
