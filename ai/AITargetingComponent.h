#pragma once
// Picks a computer player's target from what its sensory memory sensed recently, and offers the
// target facts and aiming operations the behaviour leaves use. Chosen afresh once a frame by the
// "AISystem", before the memory is refreshed, so it works on the previous frame's memory.
//
// The target is held weakly: once its entity is destroyed HasTarget is false and every query
// gives its neutral result, before the next choice.
#include "ai/AgentLookup.h"
#include "engine/Component.h"
#include "engine/EntityRef.h"
#include "engine/IntrusiveList.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class Entity;
class SensoryMemoryComponent;

class AITargetingComponent : public Component {
    QUELLOR_REFLECT_KEYED(AITargetingComponent)

    AITargetingComponent();
    AITargetingComponent(const AITargetingComponent&) = delete;
    AITargetingComponent& operator=(const AITargetingComponent&) = delete;
    ~AITargetingComponent() override;

    // Registers with the "AISystem" of the space "default" (without one: a warning, and it
    // never chooses).
    void Initialize() override;
    void Uninitialize() override;
    // A red cube around the target.
    void DebugDraw(ZOR::DebugDrawer* drawer) override;

    // The target becomes the last recently sensed player, in the memory's order, that is alive
    // and not of the agent's team; none when nobody qualifies. dt is not used.
    void Update(float dt);

    bool HasTarget() const { return m_target.Get() != nullptr; }
    Entity* GetTarget() const { return m_target.Get(); }
    // Seconds the target has been visible by the memory; 0 without a target.
    float GetTimeVisible() const;
    bool IsTargetVisible() const;
    // Whether the target stands no higher above the agent than its maxVerticalAimAngle allows;
    // a target below always passes.
    bool IsWithinVerticalAimAngle() const;
    // A random error to add to the aim point P: across the agent's aim axis at a random angle,
    // no longer than |P − centre| × atan(e/2) for the aim error angle e.
    Vec4 GetAimOffset(const Vec4& point) const;
    // Turns the body about the vertical toward the direction by at most xAimSpeed × factor;
    // true, without turning, when it already faces it within 0.035 rad. The direction is not
    // normalised: callers pass a horizontal unit vector.
    bool TurnTowards(const Vec4& direction, float factor);

    IntrusiveLink<AITargetingComponent> m_aiLink;

private:
    SensoryMemoryComponent* Memory() const;

    EntityRef m_target;
    mutable AgentLookup m_lookup;
};

} // namespace quellor
