#pragma once
// One body a lift beam holds, kept by the beam under the target's entity name so that every
// beam of a team finds the same target under the same key.
#include "engine/EntityRef.h"

#include <cstdint>

namespace quellor {

struct LiftRecord {
    // The held entity; a record whose target no longer resolves is released by name.
    EntityRef target;
    float liftTimer = 0.0f; // seconds left of the hold; every strike restarts it
    float savedGravity = 0.0f; // the motor's base values, given back at release
    float savedSpeed = 0.0f;
    float environmentForce = 0.0f; // for held bodies that are not players, which are not held
    float tagProgress = 0.0f;      // beam seconds that count towards a tag
    std::int32_t lifterCount = 1;  // the team's beams that hold this target, this one included
};

} // namespace quellor
