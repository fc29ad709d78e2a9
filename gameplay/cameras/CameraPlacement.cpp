#include "gameplay/cameras/CameraPlacement.h"

#include "renderer/Camera.h"

#include <cmath>

namespace quellor {

namespace {

bool UsableDirection(const ZOR::float3& direction)
{
    return IsFinite(direction) && direction.Length() >= kMinLookLength;
}

} // namespace

bool TurnCamera(ZOR::Camera& camera, const ZOR::float3& direction)
{
    if (!UsableDirection(direction))
        return false;
    camera.LookAt(direction, ZOR::float3(0.0f, 1.0f, 0.0f));
    return true;
}

bool PlaceCamera(ZOR::Camera& camera, const ZOR::float3& eye, const ZOR::float3& direction)
{
    if (!IsFinite(eye) || !UsableDirection(direction))
        return false;
    camera.SetPosition(eye);
    camera.LookAt(direction, ZOR::float3(0.0f, 1.0f, 0.0f));
    return true;
}

} // namespace quellor
