#pragma once
// An action that, when it starts, turns its owner entity into a static floating island: a
// static rigid body with a 40 by 40 quad collider 5 units above the entity's origin. It never
// finishes by itself.
#include "engine/Action.h"

namespace quellor {

class IslandPhysics : public Action {
    QUELLOR_REFLECT(IslandPhysics)

    IslandPhysics();
    ~IslandPhysics() override;

    void Update(float dt) override;
    // Adds the body and the quad; they attach at the next physics update.
    void Start();
};

} // namespace quellor
