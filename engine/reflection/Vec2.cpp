#include "engine/reflection/Vec2.h"

namespace quellor {

// The type's record is attached when reflection registers the value types.
Meta* Vec2::GetMeta() const
{
    return nullptr;
}

} // namespace quellor
