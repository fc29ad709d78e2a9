#include "frontend/screens/ControllerSplash.h"

namespace quellor {

ControllerSplash::ControllerSplash(float displayTime)
    : Splash("ControllerSplash", Picture{"xbox_controller_splash", "xbox_controller.mat", 1024.0f, 768.0f, false}, displayTime)
{
}

} // namespace quellor
