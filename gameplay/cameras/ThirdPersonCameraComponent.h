#pragma once
// A player's follow camera. It drives the camera of one split-screen view from a yaw and a
// pitch that the player's aim input turns: it sits behind and to one side of the player's
// body, looks along the aim direction, and keeps two 2D entities centred on its screen: the
// aiming reticle, which turns to the enemy material while the aim ray rests on a player of
// another team, and a ring that grows with the orb charge. The camera system updates it once
// a frame.
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "engine/reflection/Vec4.h"
#include "renderer/math/float3.h"

#include <functional>
#include <string>

namespace ZOR {
class Camera;
}

namespace quellor {

class GraphicsComponent2D;
class PlayerDataComponent;
class Transform2D;

class ThirdPersonCameraComponent : public Component {
    QUELLOR_REFLECT_KEYED(ThirdPersonCameraComponent)

    static constexpr float kPitchLimit = 0.9424779f; // 54 degrees
    static constexpr float kLookHeight = 13.4f;      // above the body's centre
    static constexpr float kSideOffset = 8.0f;       // to the right of the orbit
    static constexpr float kAimRange = 1000.0f;
    static constexpr float kReticleSize = 192.0f;
    static constexpr float kRingFullSize = 128.0f;
    static constexpr float kRingShrink = 0.3f; // per frame without charge
    inline static const std::string kReticleArchetype{"reticle.arch"};
    inline static const std::string kRingArchetype{"reticuleRing.arch"};
    inline static const std::string kReticleMaterial{"reticle.mat"};
    inline static const std::string kEnemyReticleMaterial{"reticle_enemy.mat"};

    // The orb charge ratio of a target, elapsed charge time / charge time; the orb weapon fills
    // it. Without it (or for a value that is not finite) the ring sees no charge.
    using ChargeRatioSource = std::function<float(Entity& target)>;
    static void SetChargeRatioSource(ChargeRatioSource source);

    ThirdPersonCameraComponent() = default;
    ThirdPersonCameraComponent(const ThirdPersonCameraComponent&) = delete;
    ThirdPersonCameraComponent& operator=(const ThirdPersonCameraComponent&) = delete;
    ~ThirdPersonCameraComponent() override;

    // Joins the "CameraSystem" of "default", builds the reticle pair and takes its screen's camera.
    void Initialize() override;
    void Uninitialize() override;
    // Once a frame, from the camera system.
    virtual void Update(float dt);

    // The followed player; its controller id is read from its player data.
    void SetTarget(Entity* target);
    Entity* GetTarget() const { return m_target.Get(); }
    // The view this camera drives; builds the reticle pair if there is none and moves both
    // 2D entities to that screen.
    void SetScreenID(int id);
    int GetScreenID() const { return m_screenID; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool IsEnabled() const { return m_enabled; }

    // Yaw grows without bound; pitch is kept within ±kPitchLimit. Deltas that are not finite
    // are ignored.
    void Rotate(float yawDelta, float pitchDelta);
    float GetYaw() const { return m_yaw; }
    float GetPitch() const { return m_pitch; }
    float GetPitchLimit() const { return m_pitchLimit; }

    // The active camera of its screen (null without a graphics system), and its axes from the
    // view matrix, w = 0: right and up are its first two rows, forward the third negated.
    ZOR::Camera* GetCamera() const { return m_camera; }
    Vec4 GetRight() const { return ViewRow(0, 1.0f); }
    Vec4 GetUp() const { return ViewRow(1, 1.0f); }
    Vec4 GetForward() const { return ViewRow(2, -1.0f); }
    // The unit view direction of the last update that placed the camera.
    const Vec4& GetLookDirection() const { return m_lookDirection; }

    // Clones the reticle and the ring onto this camera's screen; an archetype that yields no
    // Transform2D and GraphicsComponent2D is warned about and dropped.
    void CreateReticle();
    // Hides both on the screen and destroys them; the next enabled update builds a new pair.
    void DestroyReticle(int screen);
    void ShowReticle(int screen);
    Entity* GetReticle() const { return m_reticle.Get(); }
    Entity* GetRing() const { return m_ring.Get(); }
    bool IsEnemyReticleShown() const { return m_enemyReticleShown; }
    int GetControllerID() const { return m_controllerID; }

    // Reflected; loaded and kept, the update does not read the first two.
    float m_cameraSphere = 0.0f;
    float m_camRotY = 0.0f;
    float m_camRadius = 15.0f;

private:
    // x, y, z of a row of the camera's view matrix times sign, w = 0; zero without a camera.
    Vec4 ViewRow(int row, float sign) const;
    EntityRef CreateOverlay(const std::string& archetype, const std::string& name, float scale);
    // Destroys whichever of the pair still stands and forgets both.
    void DropOverlays();
    // True when a pair was built and one of it has gone since.
    bool OverlayLost() const;
    void CentreOnScreen(Transform2D& transform, float width, float height) const;
    // The reticle's material follows whether the aim ray rests on an enemy, on changes only.
    void AimAt(const ZOR::float3& eye, const ZOR::float3& direction, const PlayerDataComponent& viewer);
    // The ring grows with the target's charge, else shrinks away; centred on the screen.
    void UpdateRing(Entity& target, float width, float height);

    bool m_enabled = true;
    int m_screenID = 0;
    bool m_enemyReticleShown = false;
    bool m_reticleMissing = false;
    EntityRef m_target;
    float m_yaw = 0.0f;
    float m_pitch = 0.0f;
    float m_ringFullSize = kRingFullSize;
    int m_controllerID = 0;
    ZOR::Camera* m_camera = nullptr;
    Vec4 m_lookDirection;
    EntityRef m_reticle;
    EntityRef m_ring;
    float m_pitchLimit = kPitchLimit;

    inline static ChargeRatioSource s_chargeRatio;
};

// A person's split-screen view: its third-person camera's screen, or -1 for a player without
// one (a computer player). Screens addressed by a player go through this.
int ScreenOf(const Entity* player);

} // namespace quellor
