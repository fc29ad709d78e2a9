#include "ai/SensoryMemoryComponent.h"

#include "ai/AISystem.h"
#include "ai/behavior/AIDataComponent.h"
#include "ai/steering/Steering.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/ColliderComponent3D.h"
#include "physics/PhysicsSystem3D.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/DebugDrawer.h"

#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(SensoryMemoryComponent, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_fov));
    reg.Member(QL_FIELD(m_memorySpan));
}

SensoryMemoryComponent::SensoryMemoryComponent() : m_lookup("SensoryMemoryComponent") {}

SensoryMemoryComponent::~SensoryMemoryComponent() = default;

void SensoryMemoryComponent::Initialize()
{
    if (AISystem* system = DefaultSystem<AISystem>()) {
        system->RegisterSensoryMemoryComponent(this);
        return;
    }
    Entity* entity = GetEntity();
    std::printf("Warning: no AISystem in the space \"default\"; the SensoryMemoryComponent of \"%s\" is not updated\n",
                entity ? entity->GetName().c_str() : "?");
}

void SensoryMemoryComponent::Uninitialize()
{
    if (AISystem* system = DefaultSystem<AISystem>())
        system->UnregisterSensoryMemoryComponent(this);
    m_aiLink.Unlink();
}

void SensoryMemoryComponent::DebugDraw(ZOR::DebugDrawer* drawer)
{
    if (!drawer)
        return;
    drawer->SetPenColor(1.0f, 1.0f, 0.0f);
    for (Entity* entity : GetRecentlySensed()) {
        RigidBodyComponent3D* body = m_lookup.Body(GetEntity(), entity);
        if (!body)
            continue;
        const Vec4 centre = body->GetCenterOfMass();
        drawer->SetObjectScale(1.9f, 1.9f, 1.9f);
        drawer->SetPenPosition(centre.x, centre.y, centre.z);
        drawer->Cube();
        drawer->SetObjectScale(1.0f, 1.0f, 1.0f);
    }
}

void SensoryMemoryComponent::Update(float)
{
    for (auto record = m_memory.begin(); record != m_memory.end();)
        record = record->second.entity.Get() ? std::next(record) : m_memory.erase(record);

    Entity* agent = GetEntity();
    const GameLogicSystem* logic = DefaultSystem<GameLogicSystem>();
    if (!logic)
        return;
    RigidBodyComponent3D* ownBody = m_lookup.Body(agent, agent);
    const AIDataComponent* data = m_lookup.Find<AIDataComponent>(agent, agent);
    if (!ownBody || !data)
        return;

    const float now = Now();
    const Vec4 own = ownBody->GetCenterOfMass();
    for (const GameLogicSystem::PlayerEntry& entry : logic->GetPlayerList()) {
        Entity* player = entry.Get();
        if (!player || player == agent)
            continue;
        RigidBodyComponent3D* body = m_lookup.Body(agent, player);
        if (!body)
            continue;
        const Vec4 position = body->GetCenterOfMass();
        MemoryRecord& record = m_memory[player->GetSerial()];
        record.entity = player;

        const Vec4 toPlayer = steering::Normalize(steering::Subtract(position, own));
        if (steering::Dot(toPlayer, data->facing) <= 0.0f) {
            record.visible = false;
            record.inFront = false;
            continue;
        }
        record.inFront = true;
        if (!HasLineOfSight(player, position)) {
            record.visible = false;
            continue;
        }
        record.lastPosition = position;
        record.lastSensed = now;
        if (!record.visible) {
            record.becameVisible = now;
            record.visible = true;
        }
    }
}

const std::vector<Entity*>& SensoryMemoryComponent::GetRecentlySensed() const
{
    std::vector<Entity*>& recent = m_recentlySensed;
    recent.clear();
    if (!(m_memorySpan > 0.0f) || !std::isfinite(m_memorySpan))
        return recent;
    const float now = Now();
    for (const auto& [serial, record] : m_memory) {
        Entity* entity = record.entity.Get();
        if (entity && now - record.lastSensed < m_memorySpan)
            recent.push_back(entity);
    }
    return recent;
}

const MemoryRecord* SensoryMemoryComponent::FindRecord(const Entity* entity) const
{
    if (!entity)
        return nullptr;
    auto found = m_memory.find(entity->GetSerial());
    if (found == m_memory.end() || found->second.entity.Get() != entity)
        return nullptr;
    return &found->second;
}

bool SensoryMemoryComponent::GetTimeVisible(Entity* entity, float& seconds) const
{
    const MemoryRecord* record = FindRecord(entity);
    if (!record || !entity->HasComponent<PlayerDataComponent>())
        return false;
    seconds = Now() - record->becameVisible;
    return true;
}

bool SensoryMemoryComponent::IsVisible(Entity* entity) const
{
    const MemoryRecord* record = FindRecord(entity);
    return record && entity->HasComponent<PlayerDataComponent>() && record->visible;
}

bool SensoryMemoryComponent::HasLineOfSight(Entity* entity, const Vec4& position) const
{
    Entity* agent = GetEntity();
    RigidBodyComponent3D* ownBody = m_lookup.Body(agent, agent);
    PhysicsSystem3D* physics = GetSystem<PhysicsSystem3D>();
    if (!entity || !ownBody || !physics)
        return false;
    const Vec4 own = ownBody->GetCenterOfMass();
    const Vec4 toTarget = steering::Subtract(position, own);
    const float distance = steering::Length(toTarget);
    const Vec4 direction = steering::Normalize(toTarget);
    const PhysicsRayCastResult3D hit = physics->RayCast(ZOR::float3(own.x, own.y, own.z),
                                                        ZOR::float3(direction.x, direction.y, direction.z),
                                                        distance + 1.0f);
    return hit.hit && hit.collider && hit.collider->GetEntity() == entity;
}

} // namespace quellor
