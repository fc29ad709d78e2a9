#pragma once
// Where the secondary weapons aim from: the view of the player's third-person camera, and the
// point of its view line nearest the player's body, so that nothing between the camera and
// the player is struck.
#include "engine/reflection/Vec4.h"
#include "renderer/math/float3.h"

namespace quellor {

class Entity;

class CameraAim {
public:
    // The camera's axes, w = 0, as its view matrix gives them.
    ZOR::float3 eye;
    ZOR::float3 forward;
    ZOR::float3 up;
    ZOR::float3 right;
    // The point of the view line nearest the body point.
    ZOR::float3 origin;

    // The player's aim with the body point given; false, and the aim untouched, for a player
    // without a third-person camera that has a camera.
    static bool Of(const Entity& player, const Vec4& body, CameraAim& aim);
};

} // namespace quellor
