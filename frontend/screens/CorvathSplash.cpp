#include "frontend/screens/CorvathSplash.h"

namespace quellor {

CorvathSplash::CorvathSplash(float displayTime)
    : Splash("CorvathSplash", Picture{"corvath_splash", "corvath_logo.mat", 1024.0f, 449.0f, false}, displayTime)
{
}

} // namespace quellor
