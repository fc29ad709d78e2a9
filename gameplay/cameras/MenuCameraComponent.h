#pragma once
// The camera of a menu scene: it drives screen 0's camera round a sphere centred on the world
// origin, always looking at its own entity, and turns on by its speed every frame. The camera
// system calls its update after the third-person cameras'.
#include "engine/Component.h"

namespace quellor {

class MenuCameraComponent : public Component {
    QUELLOR_REFLECT_KEYED(MenuCameraComponent)

    // Degrees to radians.
    static constexpr float kDegrees = 0.017453292f;

    MenuCameraComponent() = default;
    MenuCameraComponent(const MenuCameraComponent&) = delete;
    MenuCameraComponent& operator=(const MenuCameraComponent&) = delete;
    ~MenuCameraComponent() override;

    // Joins and leaves the "CameraSystem" of the space "default".
    void Initialize() override;
    void Uninitialize() override;
    // Places the camera at the current angles, looking at the entity, then advances m_alpha by
    // m_speed·kDegrees·dt: the angle is in degrees, so it turns m_speed·kDegrees degrees a
    // second. m_rotate is not read. A place or view that is not usable (values that are not
    // finite, the entity on the camera) leaves the camera where it was, with one warning.
    virtual void Update(float dt);

    // Reflected; each only stores.
    void SetRotate(bool rotate) { m_rotate = rotate; }
    void SetAlpha(float degrees) { m_alpha = degrees; }
    void SetBeta(float degrees) { m_beta = degrees; }
    void SetRadius(float radius) { m_rad = radius; }
    void SetSpeed(float speed) { m_speed = speed; }

    // Reflected, angles in degrees.
    bool m_rotate = true;
    float m_alpha = 0.0f; // round the vertical axis, from +z toward +x
    float m_beta = 45.0f; // elevation
    float m_rad = 10.0f;
    float m_speed = 10.0f;

private:
    bool m_warned = false;
};

} // namespace quellor
