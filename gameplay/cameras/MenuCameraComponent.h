#pragma once
// The camera of a menu scene. The camera system calls its per-frame update after the
// third-person cameras'; here it only joins and leaves the camera system, and its update has
// nothing to move yet.
#include "engine/Component.h"

#include <string>

namespace quellor {

class MenuCameraComponent : public Component {
public:
    inline static const std::string ID{"MenuCameraComponent"};

    MenuCameraComponent() = default;
    MenuCameraComponent(const MenuCameraComponent&) = delete;
    MenuCameraComponent& operator=(const MenuCameraComponent&) = delete;
    ~MenuCameraComponent() override;

    // Joins and leaves the "CameraSystem" of the space "default".
    void Initialize() override;
    void Uninitialize() override;
    // Once a frame, from the camera system.
    virtual void Update(float dt);
};

} // namespace quellor
