#pragma once
// How a posed player character holds its arms: the direction of each upper arm, read from the
// bone matrices its animation controller hands the skinned pass (model space, +y up).
#include "renderer/AnimationController.h"
#include "tools/writers/CharacterBuilder.h"

#include <cmath>

namespace tarsel::test {

// The sine of the angle the upper arm (0 along +x, 1 along -x in the bind pose) points below
// the horizontal: 1 straight down, 0 straight out as in the bind pose, negative when raised.
// NaN when the controller has no matrix for the arm's bone.
inline float UpperArmDrop(const ZOR::AnimationController& controller, int arm)
{
    const unsigned bone = tools::character::kUpperArmBones[arm];
    const std::vector<ZOR::float4x4>& matrices = controller.GetMatrixList();
    if (bone >= matrices.size())
        return std::nanf("");
    const auto drawn = [&](const ZOR::float3& point) {
        const ZOR::float4 p = matrices[bone] * ZOR::float4(point.x, point.y, point.z, 1.0f);
        return ZOR::float3(p.x, p.y, p.z);
    };
    // The upper arm runs from its own joint (the shoulder) to the next bone's (the elbow).
    const ZOR::float3 along =
        drawn(tools::character::BindJoint(bone + 1)) - drawn(tools::character::BindJoint(bone));
    return -along.y / along.Length();
}

} // namespace tarsel::test
