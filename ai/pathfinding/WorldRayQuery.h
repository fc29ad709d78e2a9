#pragma once
#include "engine/reflection/Vec4.h"

namespace quellor {

// Whether a ray from origin along direction hits a solid collider of the physics system of the
// space "default" within maxDistance. Without an engine or a physics system nothing is hit.
bool WorldRayBlocked(const Vec4& origin, const Vec4& direction, float maxDistance);

} // namespace quellor
