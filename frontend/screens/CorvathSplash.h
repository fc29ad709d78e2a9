#pragma once
// The start-up picture of the maker's logo.
#include "frontend/screens/Splash.h"

namespace quellor {

class CorvathSplash : public Splash {
public:
    explicit CorvathSplash(float displayTime);
};

} // namespace quellor
