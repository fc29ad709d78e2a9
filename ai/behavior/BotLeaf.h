#pragma once
// The common ground of a computer player's behaviour leaves: they drive the bot the way a pad
// drives a person, through its motor's move input and its animation inputs, and read its parts
// by type on every use, so no leaf keeps an entity across frames. A missing part is reported
// once (AgentLookup) and the leaf gives its neutral result.
#include "ai/AgentLookup.h"
#include "ai/behavior/Behavior.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class AIDataComponent;
class AITargetingComponent;
class AnimationControllerComponent;
class CharacterMotor3D;
class Entity;
class PlayerDataComponent;
class RigidBodyComponent3D;
class SteeringComponent;

class BotLeaf : public Behavior {
public:
    explicit BotLeaf(const char* reporter) : m_lookup(reporter) {}

    // (x, 0, z, w) of v, normalised (a zero vector stays zero).
    static Vec4 PlanarNormal(const Vec4& v);

protected:
    // The agent's part of type T; null (reported once) without it.
    template<typename T>
    T* Part() const
    {
        return m_lookup.Find<T>(GetEntity(), GetEntity());
    }
    // The agent's tuning, or the defaults without its data part.
    const AIDataComponent& Tuning() const;
    // The target chosen by the agent's targeting this frame; null without one.
    Entity* Target() const;
    // The body's centre of mass (w 1) into out; false without a usable body.
    bool CentreOf(const Entity* entity, Vec4& out) const;
    // canControl is set and no knock-back flight is left.
    bool MayAct() const;
    // Writes the motor's move input as (x, 0, z, 0) of the direction and the animation move.
    void Drive(CharacterMotor3D* motor, const Vec4& direction) const;
    // The animation move from the move input the motor holds.
    void SetAnimationMove(const Vec4& move) const;
    // Zeroes the motor's move input (when a motor is given) and the animation move.
    void Halt(CharacterMotor3D* motor) const;
    // The part, 0 to 1, of the bot's team's tag left on its target; 0 without a live target.
    float TargetTagFraction() const;
    // The upper body aims along (x, z) with no pitch.
    void Aim(float x, float z) const;

    mutable AgentLookup m_lookup;
};

} // namespace quellor
