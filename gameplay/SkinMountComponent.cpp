#include "gameplay/SkinMountComponent.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/Convert.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/ForEachPlayerOfController.h"
#include "gameplay/GameLogicSystem.h"
#include "renderer/AnimationController.h"

#include <cstdio>

namespace quellor {

QUELLOR_RECORD(SkinMountComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_controllerID));
    reg.Member(QL_FIELD(m_boneNum));
    reg.Member(QL_FIELD(m_mountName)).Extension(".model").Setter(QL_METHOD(SetMountName));
    reg.Member(QL_FIELD(m_matName)).Extension(".mat").Setter(QL_METHOD(SetMatName));
}

SkinMountComponent::~SkinMountComponent() = default;

void SkinMountComponent::Initialize()
{
    JoinGameLogic();
}

void SkinMountComponent::Uninitialize()
{
    LeaveGameLogic();
}

void SkinMountComponent::SetMountName(std::string name)
{
    m_mountName = std::move(name);
    if (m_mountGraphic)
        ShowModel();
}

void SkinMountComponent::SetMatName(std::string name)
{
    m_matName = std::move(name);
    if (m_mountGraphic)
        m_mountGraphic->SetMaterial(m_matName);
}

void SkinMountComponent::ShowModel()
{
    m_mountGraphic->SetModel(m_mountName);
    auto* graphics = GetSystem<GraphicsSystem>();
    if (graphics && !graphics->GetModel(m_mountName))
        std::printf("Warning: SkinMountComponent finds no model \"%s\"; the mount keeps the model it had\n",
                    m_mountName.c_str());
}

void SkinMountComponent::Update(float)
{
    Entity* entity = GetEntity();
    if (!entity)
        return;
    if (!m_mountGraphic) {
        // A model component already on the entity is the mount's.
        m_mountGraphic = entity->GetComponent<GraphicsComponent3D>();
        if (!m_mountGraphic)
            m_mountGraphic = entity->AddComponent<GraphicsComponent3D>(true);
        if (!m_mountGraphic)
            return;
        ShowModel();
        m_mountGraphic->SetMaterial(m_matName);
    }

    if (!(m_target == EntityRef())) {
        if (Entity* host = m_target.Get())
            PlaceOn(*host);
        return;
    }
    if (GameLogicSystem* gameLogic = DefaultSystem<GameLogicSystem>())
        ForEachPlayerOfController(*gameLogic, m_controllerID, [&](Entity& player) { PlaceOn(player); });
}

void SkinMountComponent::PlaceOn(Entity& character)
{
    auto* skinned = character.GetComponent<GraphicsComponent3DSkinned>();
    auto* host = character.GetComponent<Transform3D>();
    Transform3D* own = FindTransform3D(*this);
    if (!skinned || !host || !own)
        return;
    // A bone number outside the skeleton reads as the identity, as the controller has it.
    const ZOR::float4x4 bone =
        m_boneNum < 0 ? ZOR::float4x4()
                      : skinned->GetAnimationController().GetBoneTransform(static_cast<unsigned>(m_boneNum));
    const ZOR::float4x4 boneRotation = bone.ExtractRotation();
    const ZOR::float4x4 hostRotation =
        ToFloat4x4(Transform3D::BuildWorldMatrix(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, host->m_rotation));
    const ZOR::float4x4 ownScale(own->m_scaleX, 0, 0, 0, 0, own->m_scaleY, 0, 0, 0, 0, own->m_scaleZ, 0, 0, 0, 0, 1);
    const ZOR::float4x4 hostPosition(1, 0, 0, host->m_x, 0, 1, 0, host->m_y, 0, 0, 1, host->m_z, 0, 0, 0, 1);
    const ZOR::float4x4 placed = hostPosition * hostRotation * ownScale * bone.ExtractTranslation() * boneRotation;
    own->SetPosition(placed.m[3], placed.m[7], placed.m[11]);
    // The scale moves the mount point but is kept out of the rotation, which would otherwise
    // come out scaled rather than a rotation.
    own->m_rotation.SetFromMat4(ToMat4(hostRotation * boneRotation));
    own->SetScale(host->m_scaleX, host->m_scaleY, host->m_scaleZ);
}

} // namespace quellor
