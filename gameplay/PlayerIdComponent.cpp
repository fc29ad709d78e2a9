#include "gameplay/PlayerIdComponent.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/ForEachPlayerOfController.h"
#include "gameplay/GameLogicSystem.h"

namespace quellor {

QUELLOR_RECORD(PlayerIdComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_controllerID));
    reg.Member(QL_FIELD(m_offset));
}

PlayerIdComponent::~PlayerIdComponent() = default;

void PlayerIdComponent::Initialize()
{
    JoinGameLogic();
}

void PlayerIdComponent::Uninitialize()
{
    LeaveGameLogic();
}

void PlayerIdComponent::Update(float)
{
    Transform3D* own = FindTransform3D(*this);
    GameLogicSystem* gameLogic = own ? DefaultSystem<GameLogicSystem>() : nullptr;
    if (!gameLogic)
        return;
    ForEachPlayerOfController(*gameLogic, m_controllerID, [&](Entity& player) {
        if (const auto* at = player.GetComponent<Transform3D>())
            own->SetPosition(at->m_x + m_offset.x, at->m_y + m_offset.y, at->m_z + m_offset.z);
    });
}

} // namespace quellor
