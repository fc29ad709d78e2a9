#pragma once
// What the kill volume and the level boundary share: the death flow they run on a victim, the
// flows still running (cancelled when the component goes, so that no respawn step calls into
// a freed component), and the respawn effect, one burst entity of the space "default".
//
// The flow is MakeSequence(MakeParallel(skip, inner), respawn) on lane 2 of the action system.
// A person's screen watches its body, then glides to a person hitter's view (a computer hitter
// has no view: a wait stands in); a computer victim's inner flow is waits only, and its skip
// action ends the flow in its first update.
#include "engine/EntityRef.h"
#include "engine/FlowTracker.h"
#include "engine/reflection/Vec4.h"

#include <functional>
#include <string>

namespace quellor {

class Action;
class ActionSystem;
class ColliderComponent3D;
class EmitterComponent;
class Entity;
class GameLogicMember;
class GameLogicSystem;
class PlayerDataComponent;
class QLObject;

class DeathFlow {
public:
    inline static const std::string kRespawnName{"respawn"};
    inline static const std::string kRespawnEffectFile{"respawn.pe"};
    static constexpr int kLane = 2;
    static constexpr float kFollowArgument = 100.0f; // kept by the follow, not used
    static constexpr float kStartDelay = 0.5f;        // before the first test of the players

    // Seconds of each step; a zero step is left out.
    struct Plan {
        float watch = 0.0f;     // a person victim's screen watches the body
        float follow = 0.0f;    // then follows a person hitter (else waits as long)
        float skip = 0.0f;      // the skip prompt
        float botWait = 0.0f;   // a computer victim's first wait
        float botFollow = 0.0f; // then a follow of a person hitter on screen 0 (else a wait)
    };

    DeathFlow() = default;
    DeathFlow(const DeathFlow&) = delete;
    DeathFlow& operator=(const DeathFlow&) = delete;

    // Registers the member with the "GameLogicSystem" of "default"; with none, one warning naming
    // `who` and nothing registered (the component stays idle).
    void Join(GameLogicMember& member, const char* who);
    // Unregisters the member and cancels the flows still running.
    void Leave(GameLogicMember& member);
    // The system joined; null when none was found.
    GameLogicSystem* GetLogic() const { return m_logic; }

    // The start delay: its first call builds the burst; true while the delay lasts. After it,
    // switches the burst off once it is done and returns false.
    bool Starting(float dt);

    // Switches a person victim's camera off, builds the flow with the respawn at its end and
    // adds it to lane 2 of the action system; false (nothing started) without one.
    bool Start(ActionSystem* actions, Entity& victim, Entity* hitter, const Plan& plan,
               std::function<void()> respawn);
    std::size_t RunningCount() const { return m_flows.Count(); }

    // Moves the burst to the place and switches it on.
    void PlayRespawnEffect(const Vec4& at);
    Entity* GetRespawnEntity() const { return m_respawn.Get(); }
    EmitterComponent* GetRespawnEmitter() const;

    // Whether one of the box's contact records names the other collider.
    static bool Touches(const ColliderComponent3D& box, const ColliderComponent3D& other);
    // The victim back in play: placed at the spawn (the motor lifts it by its radius), its
    // camera on again and its control back.
    static void PutBack(Entity& victim, const Vec4& at);
    // A player's data while its entity lives; null otherwise.
    static PlayerDataComponent* DataOf(Entity* player);
    // The hitter's team scores, when the hitter is still there; its data, or null.
    const PlayerDataComponent* Score(Entity* hitter) const;

private:
    // Makes the burst entity with its emitter off.
    void CreateRespawnEffect();

    GameLogicSystem* m_logic = nullptr;
    float m_startDelay = kStartDelay;
    FlowTracker m_flows;
    EntityRef m_respawn;
};

} // namespace quellor
