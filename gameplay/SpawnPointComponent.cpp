#include "gameplay/SpawnPointComponent.h"

#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

namespace {
constexpr int kAllScreens = 4;
}

QUELLOR_RECORD(SpawnPointComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_position));
    reg.Member(QL_FIELD(m_popularity));
    reg.Member(QL_FIELD(m_team));
}

SpawnPointComponent::~SpawnPointComponent() = default;

void SpawnPointComponent::Initialize()
{
    JoinGameLogic();
    m_position = GetTransformPosition();
}

void SpawnPointComponent::Uninitialize()
{
    LeaveGameLogic();
}

void SpawnPointComponent::Update()
{
    m_position = GetTransformPosition();
    Entity* entity = GetEntity();
    if (auto* model = entity ? entity->GetComponent<GraphicsComponent3D>() : nullptr)
        model->SetVisible(false, kAllScreens);
}

void SpawnPointComponent::LogicUpdate(float)
{
    Update();
}

Vec4 SpawnPointComponent::GetTransformPosition() const
{
    Entity* entity = GetEntity();
    auto* transform = entity ? entity->GetComponent<Transform3D>() : nullptr;
    return transform ? transform->GetPosition() : m_position;
}

} // namespace quellor
