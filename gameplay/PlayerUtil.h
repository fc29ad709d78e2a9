#pragma once
// Points of a player that the weapons aim from: places on the hand bone carried into the world
// with the current pose, and where the camera's view line passes closest to the body.
#include "engine/reflection/Vec4.h"
#include "renderer/math/float3.h"

namespace quellor {

class Entity;

class PlayerUtil {
public:
    // The skeleton's hand bone and the point in its space where a shot leaves the hand.
    static constexpr unsigned kHandBone = 29;
    static constexpr ZOR::float3 kHandPoint{-6.5f, 13.2f, -0.2f};

    // A point in the hand bone's space in world space: the bone matrix as the skinning applies
    // it to a bind-pose vertex, then the player's Transform3D rotation and position (its scale
    // is not applied). Without a skinned model with a hand bone the bone is the identity (one
    // warning per run); without a Transform3D the point stays in model space. w = 1.
    static Vec4 HandBonePoint(const Entity& player, const ZOR::float3& local);
    static Vec4 HandPoint(const Entity& player) { return HandBonePoint(player, kHandPoint); }

    // The point of the view line (eye along forward) nearest to the body point; the eye itself
    // for a zero forward. w = 1.
    static Vec4 ViewLineOrigin(const Vec4& eye, const Vec4& forward, const Vec4& body);
};

} // namespace quellor
