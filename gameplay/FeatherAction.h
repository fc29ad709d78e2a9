#pragma once
// The behaviour of a collectable feather: made by name ("FeatherAction") by its entity's
// ActionComponent. Each frame it turns the feather about its own vertical axis at 1 rad/s and
// credits every player within reach (the transform's m_scaleX + 6) one feather for its team;
// the feather then goes.
#include "engine/Action.h"

namespace quellor {

class FeatherAction : public Action {
    QUELLOR_REFLECT(FeatherAction)

    FeatherAction();
    ~FeatherAction() override;

    // A feather without a Transform3D finishes at once (one warning).
    void Update(float dt) override;
};

} // namespace quellor
