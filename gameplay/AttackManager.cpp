#include "gameplay/AttackManager.h"

#include "engine/Entity.h"
#include "engine/reflection/MetaRegistrar.h"
#include "gameplay/LiftComponent.h"
#include "gameplay/SnapshotComponent.h"

namespace quellor {

QUELLOR_RECORD(AttackManager, Component, DerivedMetaNotPODNoCopy, WithID)
{
    reg.Member(QL_FIELD(m_snapshotCooldown));
}

AttackManager::~AttackManager() = default;

void AttackManager::Initialize()
{
    JoinGameLogic();
}

void AttackManager::Uninitialize()
{
    LeaveGameLogic();
}

bool AttackManager::CanFire() const
{
    return m_weapon != kKnockBackShot || m_cooldownTimer <= 0.0f;
}

void AttackManager::StartAttack()
{
    if (m_weapon == kLiftBeam) {
        if (LiftComponent* lift = GetLiftComponent())
            lift->FireFromCamera();
    } else if (m_weapon == kKnockBackShot) {
        if (SnapshotComponent* shot = GetSnapshotComponent())
            shot->Fire();
        m_cooldownTimer = m_snapshotCooldown;
    }
}

void AttackManager::EndAttack()
{
    if (m_weapon == kLiftBeam) {
        if (LiftComponent* lift = GetLiftComponent())
            lift->EndBeam();
    } else if (m_weapon == kKnockBackShot) {
        m_cooldownTimer = m_snapshotCooldown;
    }
}

void AttackManager::Update(float dt)
{
    if (m_snapshotCooldown > 0.0f)
        m_cooldownTimer -= dt;
}

LiftComponent* AttackManager::GetLiftComponent() const
{
    const Entity* owner = GetEntity();
    return owner ? owner->GetComponent<LiftComponent>() : nullptr;
}

SnapshotComponent* AttackManager::GetSnapshotComponent() const
{
    const Entity* owner = GetEntity();
    return owner ? owner->GetComponent<SnapshotComponent>() : nullptr;
}

} // namespace quellor
