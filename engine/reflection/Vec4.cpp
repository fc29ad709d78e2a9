#include "engine/reflection/Vec4.h"

namespace quellor {

// The type's record is attached when reflection registers the value types.
Meta* Vec4::GetMeta() const
{
    return nullptr;
}

} // namespace quellor
