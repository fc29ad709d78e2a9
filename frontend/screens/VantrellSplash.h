#pragma once
// The start-up picture of the game's title logo, drawn fully opaque.
#include "frontend/screens/Splash.h"

namespace quellor {

class VantrellSplash : public Splash {
public:
    explicit VantrellSplash(float displayTime);
};

} // namespace quellor
