#include "frontend/screens/MainMenuReturn.h"

namespace quellor {

Action* MakeMainMenuReturn()
{
    return nullptr;
}

} // namespace quellor
