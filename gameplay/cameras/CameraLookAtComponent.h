#pragma once
// A free orbit camera for looking at one entity: the arrow keys and pad 0's right stick turn
// screen 0's camera around the target, Q and E move it nearer and farther. The orbit (radius,
// yaw, pitch) is shared by every instance and kept from frame to frame. The game logic
// updates it right after the character motors; without a target it does nothing.
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "gameplay/GameLogicMember.h"

#include <string>

namespace ZOR {
class Camera;
}

namespace quellor {

class CameraLookAtComponent : public Component, public InLogicSlot<LogicSlot::CameraLookAtComponent> {
    QUELLOR_REFLECT_KEYED(CameraLookAtComponent)

    static constexpr float kStartRadius = 30.0f;
    static constexpr float kStartYaw = 3.14159f;
    static constexpr float kStartPitch = 0.91f;
    static constexpr float kPitchLimit = 1.2566371f; // 72 degrees
    static constexpr float kZoomStep = 0.1f;         // per frame, not scaled by time

    CameraLookAtComponent() = default;
    CameraLookAtComponent(const CameraLookAtComponent&) = delete;
    CameraLookAtComponent& operator=(const CameraLookAtComponent&) = delete;
    ~CameraLookAtComponent() override;

    // Joins the game logic's slot and takes screen 0's camera from the graphics system of
    // "default".
    void Initialize() override;
    void Uninitialize() override;
    void LogicUpdate(float dt) override { Update(dt); }
    // Turns and zooms the shared orbit from this frame's input, writes the offset into the
    // entity's own Transform3D, and places the camera on the orbit looking at the target.
    virtual void Update(float dt);

    // Code sets the target directly; level data names it through m_targetName.
    void SetTarget(Entity* target) { m_target = EntityRef(target); }
    Entity* GetTarget() const { return m_target.Get(); }
    ZOR::Camera* GetCamera() const { return m_camera; }

    // The shared orbit.
    static float GetRadius() { return s_radius; }
    static float GetYaw() { return s_yaw; }
    static float GetPitch() { return s_pitch; }
    // Test hooks: the orbit set to given values, or back at its start values.
    static void SetSharedView(float radius, float yaw, float pitch);
    static void ResetSharedView() { SetSharedView(kStartRadius, kStartYaw, kStartPitch); }

    // Reflected: the name of the entity to look at, in the component's own space. Looked up at
    // Initialize and, while no such entity exists (it may come later in the level), again each
    // update, with one warning.
    std::string m_targetName;

private:
    void ReadInput(float dt) const;
    void FindNamedTarget(bool warn);

    EntityRef m_target;
    bool m_warnedNoTarget = false;
    ZOR::Camera* m_camera = nullptr;

    inline static float s_radius = kStartRadius;
    inline static float s_yaw = kStartYaw;
    inline static float s_pitch = kStartPitch;
};

} // namespace quellor
