#pragma once
// Placing a renderer camera from gameplay: every camera here looks along a direction with up
// (0, 1, 0). A direction shorter than 1e-5, or an eye or direction that is not finite, leaves
// the camera as it was: a view along nothing has no orientation, and the renderer would build
// a degenerate view matrix from it.
#include "engine/Engine.h"
#include "engine/Finite.h"
#include "renderer/math/float3.h"

namespace ZOR {
class Camera;
}

namespace quellor {

// Shortest view direction a camera is turned along.
inline constexpr float kMinLookLength = 1e-5f;

// Turns the camera along the direction from its stored eye; false (camera untouched) when the
// direction is unusable.
bool TurnCamera(ZOR::Camera& camera, const ZOR::float3& direction);

// Moves the eye and turns the camera; false (camera untouched) when either is unusable.
bool PlaceCamera(ZOR::Camera& camera, const ZOR::float3& eye, const ZOR::float3& direction);

} // namespace quellor
