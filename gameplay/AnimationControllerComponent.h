#pragma once
// Drives a player character's skeletal animation: every clip of the 94-clip library plays all
// the time on the entity's skinned model, and each frame only the weights change, from the
// movement, the aim and the shot pose fed through the setters.
#include "engine/Component.h"
#include "gameplay/GameLogicMember.h"
#include "gameplay/ShotPose.h"

namespace ZOR {
class AnimationController;
}

namespace quellor {

class GameLogicSystem;
class GraphicsSystem;

class AnimationControllerComponent : public Component, public InLogicSlot<LogicSlot::AnimationControllerComponent> {
    QUELLOR_REFLECT_KEYED(AnimationControllerComponent)

    AnimationControllerComponent() = default;
    AnimationControllerComponent(const AnimationControllerComponent&) = delete;
    AnimationControllerComponent& operator=(const AnimationControllerComponent&) = delete;
    ~AnimationControllerComponent() override;

    // Joins the "GameLogicSystem" of its space, which runs Update once a frame; on an entity
    // that already has its skinned model and player data, also runs the first update at once.
    void Initialize() override;
    void Uninitialize() override;

    // The first call adds and starts the library on the skinned model's controller and poses
    // it; every call then writes the frame's weights. Without a skinned model or player data it
    // does nothing.
    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    void SetMoveX(float x) { m_moveX = x; }
    void SetMoveY(float y) { m_moveY = y; }
    void ClearMove()
    {
        m_moveX = 0.0f;
        m_moveY = 0.0f;
    }
    void SetAimX(float x) { m_aimX = x; }
    void SetAimY(float y) { m_aimY = y; }
    void SetAimPitch(float pitch) { m_aimPitch = pitch; }
    float GetMoveX() const { return m_moveX; }
    float GetMoveY() const { return m_moveY; }
    float GetAimX() const { return m_aimX; }
    float GetAimY() const { return m_aimY; }
    float GetAimPitch() const { return m_aimPitch; }
    void SetOrbBlast(float length, float hold) { m_shotPose.SetOrbBlast(length, hold); }
    void SetLiftBlast(float length) { m_shotPose.SetLiftBlast(length); }
    // Ends the orb and lift poses at once (the win camera's still pose).
    void ResetBlasts() { m_shotPose.Reset(); }
    const ShotPose& GetShotPose() const { return m_shotPose; }

    bool IsStarted() const { return m_started; }

    // While above 0 the damage clips keep their weights; nothing sets it yet.
    float m_damageTimer = 0.0f;

private:
    // Adds and starts the library in its fixed order; clips the render system lacks are skipped.
    void StartClips(GraphicsSystem& graphics, ZOR::AnimationController& controller);

    bool m_started = false;
    bool m_moving = false;
    bool m_warnedIncomplete = false;
    ShotPose m_shotPose;
    float m_moveX = 0.0f;
    float m_moveY = 0.0f;
    float m_lastMoveX = 0.0f;
    float m_lastMoveY = 0.0f;
    float m_aimX = 0.0f;
    float m_aimY = 0.0f;
    float m_aimPitch = 0.0f;
};

} // namespace quellor
