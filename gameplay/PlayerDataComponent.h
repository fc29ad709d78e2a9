#pragma once
// The per-player record every gameplay part reads and writes: controller, team, score, aiming
// and dead-zone settings, and the state flags and timers the character motor and the weapons
// share. Other components find it on the player entity by its type.
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "engine/reflection/Vec4.h"

#include <string>

namespace quellor {

class Entity;

class PlayerDataComponent : public Component {
    QUELLOR_REFLECT_KEYED(PlayerDataComponent)

    PlayerDataComponent() = default;
    PlayerDataComponent(const PlayerDataComponent&) = default;
    PlayerDataComponent& operator=(const PlayerDataComponent&) = default;
    ~PlayerDataComponent() override;

    void SetControlable(bool control) { canControl = control; }
    bool GetControlable() const { return canControl; }
    // Also writes the score ("%d") into the linked score text's TextComponent.
    void SetCurrentScore(int score);
    int GetCurrentScore() const { return currentScore; }
    void SetControllerID(int id) { controllerID = id; }
    void SetXAimSpeed(float speed) { xAimSpeed = speed; }
    void SetYAimSpeed(float speed) { yAimSpeed = speed; }
    float GetSphereCollRadius() const { return sphereCollRadius; }

    // The person's pad, or -1 for a computer player and for any number that names no pad.
    int GetPad() const;

    void SetLastHitter(Entity* hitter) { m_lastHitter = hitter; }
    Entity* GetLastHitter() const { return m_lastHitter.Get(); }
    void SetScoreText(Entity* text) { m_scoreText = text; }
    Entity* GetScoreText() const { return m_scoreText.Get(); }
    void SetTagMarker(Entity* marker) { m_tagMarker = marker; }
    Entity* GetTagMarker() const { return m_tagMarker.Get(); }
    void SetTeamTagMarker(Entity* marker) { m_teamTagMarker = marker; }
    Entity* GetTeamTagMarker() const { return m_teamTagMarker.Get(); }

    // Reflected, in this order.
    bool canControl = true;
    int currentScore = 0;
    int maxScore = 10;
    std::string playerTeam = "none";
    float sphereCollRadius = 1.0f;
    float xDeadZone = 0.2f;
    float yDeadZone = 0.2f;
    int controllerID = -1; // -1 a computer player, 0-3 a person's slot and pad
    float xAimSpeed = 2.0f;
    float yAimSpeed = 3.0f;
    float blastDist = 0.0f;

    bool m_onGround = false;   // owned by the character motor
    bool m_dying = false;      // a death flow runs; the motor ignores the move input
    bool m_isLifted = false;   // a lift beam holds the player
    bool m_hasTag = false;     // the player's own tag marker is on a target
    bool m_charging = false;   // the input slows the player for an orb charge
    bool m_invertLook = false; // the input keeps the vertical look as it comes
    bool m_liftInUse = false;  // the input held the lift beam this frame
    bool m_cameraFreeze = false; // the third-person camera does not update
    float m_stunTimer = 0.0f;    // seconds of knock-back flight left
    float m_respawnGrace = 0.0f; // seconds after a respawn
    Vec4 m_knockbackDir;
    Vec4 m_spawnRefPoint;

private:
    EntityRef m_scoreText;
    EntityRef m_lastHitter;
    EntityRef m_tagMarker;
    EntityRef m_teamTagMarker;
};

} // namespace quellor
