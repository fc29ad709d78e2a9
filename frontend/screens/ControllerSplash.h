#pragma once
// The start-up picture of the controller hint.
#include "frontend/screens/Splash.h"

namespace quellor {

class ControllerSplash : public Splash {
public:
    explicit ControllerSplash(float displayTime);
};

} // namespace quellor
