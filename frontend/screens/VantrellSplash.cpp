#include "frontend/screens/VantrellSplash.h"

namespace quellor {

VantrellSplash::VantrellSplash(float displayTime)
    : Splash("VantrellSplash", Picture{"vantrell_splash", "vantrell_logo.mat", 800.0f, 450.0f, true}, displayTime)
{
}

} // namespace quellor
