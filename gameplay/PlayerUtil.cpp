#include "gameplay/PlayerUtil.h"

#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/Convert.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "renderer/math/float4.h"
#include "renderer/math/float4x4.h"

#include <cstdio>

namespace quellor {

Vec4 PlayerUtil::HandBonePoint(const Entity& player, const ZOR::float3& local)
{
    ZOR::float4x4 bone;
    const auto* skinned = player.GetComponent<GraphicsComponent3DSkinned>();
    const ZOR::AnimationController* controller = skinned ? &skinned->GetAnimationController() : nullptr;
    if (controller && controller->GetMatrixList().size() > kHandBone) {
        bone = controller->GetBoneTransform(kHandBone);
    } else {
        static bool warned = false;
        if (!warned) {
            warned = true;
            std::printf("Warning: PlayerUtil finds no skinned model with bone %u on \"%s\"; the hand is taken "
                        "without a bone\n",
                        kHandBone, player.GetName().c_str());
        }
    }
    const ZOR::float4 posed = bone * ZOR::float4(local.x, local.y, local.z, 1.0f);
    const auto* transform = player.GetComponent<Transform3D>();
    if (!transform)
        return Vec4(posed.x, posed.y, posed.z, 1.0f);
    const ZOR::float4x4 rotation =
        ToFloat4x4(Transform3D::BuildWorldMatrix(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, transform->m_rotation));
    const ZOR::float4 turned = rotation * ZOR::float4(posed.x, posed.y, posed.z, 0.0f);
    return Vec4(turned.x + transform->m_x, turned.y + transform->m_y, turned.z + transform->m_z, 1.0f);
}

Vec4 PlayerUtil::ViewLineOrigin(const Vec4& eye, const Vec4& forward, const Vec4& body)
{
    const ZOR::float3 e = ToFloat3(eye);
    const ZOR::float3 f = ToFloat3(forward).Normalized();
    const ZOR::float3 origin = e + f * f.Dot(ToFloat3(body) - e);
    return Vec4(origin.x, origin.y, origin.z, 1.0f);
}

} // namespace quellor
