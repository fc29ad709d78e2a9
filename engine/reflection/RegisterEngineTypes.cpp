#include "engine/reflection/RegisterEngineTypes.h"

#include <mutex>

#include "engine/reflection/BuiltinTypes.h"

namespace quellor {

void RegisterEngineTypes()
{
    static std::once_flag once;
    std::call_once(once, [] { RegisterBuiltinTypes(); });
}

} // namespace quellor
