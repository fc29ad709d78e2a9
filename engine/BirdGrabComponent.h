#pragma once
// A component type that level files may name but that nothing builds: its record exists so
// that the name is known, and its record cannot create it, so a file naming it gets nothing.
#include "engine/Component.h"

namespace quellor {

class BirdGrabComponent : public Component {
    QUELLOR_REFLECT_KEYED(BirdGrabComponent)

    BirdGrabComponent() = default;
    BirdGrabComponent(const BirdGrabComponent&) = delete;
    BirdGrabComponent& operator=(const BirdGrabComponent&) = delete;
    ~BirdGrabComponent() override;
};

} // namespace quellor
