#pragma once
// A computer player's tuning values, set from archetype data, and the direction it attends to.
// Plain data: it registers with no system and is found on the entity by its type.
#include "engine/Component.h"
#include "engine/reflection/Vec4.h"

namespace quellor {

class AIDataComponent : public Component {
    QUELLOR_REFLECT_KEYED(AIDataComponent)

    AIDataComponent() = default;
    AIDataComponent(const AIDataComponent&) = delete;
    AIDataComponent& operator=(const AIDataComponent&) = delete;
    ~AIDataComponent() override;

    // (1 − accuracy) × 179° in radians; accuracy outside [0, 1] is used as it is.
    float GetAimErrorAngle() const;

    // One component holding the default values, for a bot whose archetype carries none.
    static const AIDataComponent& Defaults();
    // The bot's own values, or the defaults when it has no such component.
    static const AIDataComponent& Of(const AIDataComponent* data) { return data ? *data : Defaults(); }

    // Reflected, in this order.
    float reactionTime = 0.6f;               // seconds the target must have been visible before a shot
    float maxVerticalAimAngle = 0.9424779f;  // radians a target may stand above the bot for a shot
    float accuracy = 0.8f;                   // 1 no aim error, 0 the widest
    float liftBeamAimSpeed = 0.25f;          // largest change of the lift-beam aim per frame
    float liftAimInterval = 1.0f;            // seconds; upper end of the lift-beam re-aim interval
    float liftBias = 0.5f;                   // weight of the lift beam in the weapon choice
    float orbBias = 0.5f;                    // weight of the orb in the weapon choice

    // Written by the behaviour leaves, read by sensing.
    Vec4 facing = Vec4(0.0f, 0.0f, 1.0f, 0.0f);
};

} // namespace quellor
