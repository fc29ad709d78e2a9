#include "engine/reflection/Mat2.h"

namespace quellor {

// The type's record is attached when reflection registers the value types.
Meta* Mat2::GetMeta() const
{
    return nullptr;
}

} // namespace quellor
