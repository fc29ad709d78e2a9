#include "physics/CollisionFilter3D.h"

namespace quellor {

bool CollisionFilter3D::ShouldCollide(const CollisionFilter3D& other) const
{
    if (group != 0 && group == other.group)
        return group > 0;
    return (mask != 0 && other.category != 0) || (other.mask != 0 && category != 0);
}

} // namespace quellor
