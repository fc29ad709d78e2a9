#include "engine/reflection/Mat4.h"

namespace quellor {

// The type's record is attached when reflection registers the value types.
Meta* Mat4::GetMeta() const
{
    return nullptr;
}

} // namespace quellor
