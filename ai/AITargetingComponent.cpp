#include "ai/AITargetingComponent.h"

#include "ai/AISystem.h"
#include "ai/SensoryMemoryComponent.h"
#include "ai/behavior/AIDataComponent.h"
#include "ai/steering/Steering.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Random.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/PlayerDataComponent.h"
#include "physics/RigidBodyComponent3D.h"
#include "renderer/DebugDrawer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quellor {

QUELLOR_RECORD(AITargetingComponent, Component, DerivedMetaNotPODNoCopy, WithID) {}

namespace {

float Clamp(float value, float low, float high)
{
    return std::max(low, std::min(value, high));
}

// v rotated by the unit quaternion (x, y, z, w): v + 2w (q × v) + 2 q × (q × v); w is kept.
Vec4 Rotate(const Vec4& v, float x, float y, float z, float w)
{
    const float cx = y * v.z - z * v.y;
    const float cy = z * v.x - x * v.z;
    const float cz = x * v.y - y * v.x;
    const float ccx = y * cz - z * cy;
    const float ccy = z * cx - x * cz;
    const float ccz = x * cy - y * cx;
    return Vec4(v.x + 2.0f * (w * cx + ccx), v.y + 2.0f * (w * cy + ccy), v.z + 2.0f * (w * cz + ccz), v.w);
}

} // namespace

AITargetingComponent::AITargetingComponent() : m_lookup("AITargetingComponent") {}

AITargetingComponent::~AITargetingComponent() = default;

void AITargetingComponent::Initialize()
{
    if (AISystem* system = DefaultSystem<AISystem>()) {
        system->RegisterAITargetingComponent(this);
        return;
    }
    Entity* entity = GetEntity();
    std::printf("Warning: no AISystem in the space \"default\"; the AITargetingComponent of \"%s\" is not updated\n",
                entity ? entity->GetName().c_str() : "?");
}

void AITargetingComponent::Uninitialize()
{
    if (AISystem* system = DefaultSystem<AISystem>())
        system->UnregisterAITargetingComponent(this);
    m_aiLink.Unlink();
}

void AITargetingComponent::DebugDraw(ZOR::DebugDrawer* drawer)
{
    Entity* target = GetTarget();
    if (!drawer || !target)
        return;
    RigidBodyComponent3D* body = m_lookup.Body(GetEntity(), target);
    if (!body)
        return;
    const Vec4 centre = body->GetCenterOfMass();
    drawer->SetPenColor(1.0f, 0.0f, 0.0f);
    drawer->SetPenPosition(centre.x, centre.y, centre.z);
    drawer->SetObjectScale(2.0f, 2.0f, 2.0f);
    drawer->Cube();
    drawer->SetObjectScale(1.0f, 1.0f, 1.0f);
}

SensoryMemoryComponent* AITargetingComponent::Memory() const
{
    return m_lookup.Find<SensoryMemoryComponent>(GetEntity(), GetEntity());
}

void AITargetingComponent::Update(float)
{
    m_target.Reset();
    Entity* agent = GetEntity();
    const SensoryMemoryComponent* memory = Memory();
    const PlayerDataComponent* own = m_lookup.Find<PlayerDataComponent>(agent, agent);
    if (!memory || !own)
        return;
    for (Entity* candidate : memory->GetRecentlySensed()) {
        const PlayerDataComponent* data = m_lookup.Find<PlayerDataComponent>(agent, candidate);
        if (!data || data->m_dying || data->playerTeam == own->playerTeam)
            continue;
        m_target = candidate;
    }
}

float AITargetingComponent::GetTimeVisible() const
{
    Entity* target = GetTarget();
    const SensoryMemoryComponent* memory = target ? Memory() : nullptr;
    float seconds = 0.0f;
    if (memory && memory->GetTimeVisible(target, seconds))
        return seconds;
    return 0.0f;
}

bool AITargetingComponent::IsTargetVisible() const
{
    Entity* target = GetTarget();
    const SensoryMemoryComponent* memory = target ? Memory() : nullptr;
    return memory && memory->IsVisible(target);
}

bool AITargetingComponent::IsWithinVerticalAimAngle() const
{
    Entity* target = GetTarget();
    if (!target)
        return false;
    Entity* agent = GetEntity();
    RigidBodyComponent3D* ownBody = m_lookup.Body(agent, agent);
    RigidBodyComponent3D* targetBody = m_lookup.Body(agent, target);
    const AIDataComponent* data = m_lookup.Find<AIDataComponent>(agent, agent);
    if (!ownBody || !targetBody || !data)
        return false;
    const Vec4 toTarget =
        steering::Normalize(steering::Subtract(targetBody->GetCenterOfMass(), ownBody->GetCenterOfMass()));
    const float s = Clamp(steering::Dot(ownBody->GetUp(), toTarget), -1.0f, 1.0f);
    return data->maxVerticalAimAngle > std::asin(s);
}

Vec4 AITargetingComponent::GetAimOffset(const Vec4& point) const
{
    Entity* agent = GetEntity();
    RigidBodyComponent3D* body = m_lookup.Body(agent, agent);
    const AIDataComponent* data = m_lookup.Find<AIDataComponent>(agent, agent);
    if (!body || !data)
        return Vec4();
    const Vec4 axis = steering::Normalize(steering::Scale(body->GetForward(), -1.0f));
    const Vec4 right = body->GetRight();
    const float range = steering::Length(steering::Subtract(point, body->GetCenterOfMass()));
    const float spread = RandomClampedScaled(range * std::atan(0.5f * data->GetAimErrorAngle()));
    const Vec4 offset = steering::Scale(right, spread);
    const float angle = RandomUnit() * 3.1415927f;
    if (axis.x * axis.x + axis.y * axis.y + axis.z * axis.z <= 0.00001f)
        return offset;
    const float s = std::sin(0.5f * angle);
    return Rotate(offset, axis.x * s, axis.y * s, axis.z * s, std::cos(0.5f * angle));
}

bool AITargetingComponent::TurnTowards(const Vec4& direction, float factor)
{
    Entity* agent = GetEntity();
    RigidBodyComponent3D* body = m_lookup.Body(agent, agent);
    const PlayerDataComponent* data = m_lookup.Find<PlayerDataComponent>(agent, agent);
    if (!body || !data)
        return false;
    Vec4 forward = body->GetForward();
    forward.y = 0.0f;
    forward = steering::Normalize(forward);
    const float c = Clamp(steering::Dot(steering::Scale(forward, -1.0f), direction), -1.0f, 1.0f);
    float angle = std::acos(c);
    if (angle < 0.035f)
        return true;
    if (direction.x * forward.z - direction.z * forward.x > 0.0f)
        angle = -angle;
    const float limit = data->xAimSpeed * factor;
    angle = std::max(-limit, std::min(angle, limit));
    const float cosA = std::cos(angle);
    const float sinA = std::sin(angle);
    const ZOR::float3x3 turn(cosA, 0.0f, sinA, 0.0f, 1.0f, 0.0f, -sinA, 0.0f, cosA);
    body->SetOrientation(turn * body->GetOrientation());
    return false;
}

} // namespace quellor
