#include "ai/behavior/BehaviorTree.h"

#include "ai/AISystem.h"
#include "engine/Entity.h"
#include "engine/reflection/MetaRegistrar.h"

#include <cstdio>

namespace quellor {

QUELLOR_RECORD(BehaviorTree, Component, DerivedMetaNotPODNoCopy, WithID) {}

BehaviorTree::BehaviorTree() = default;

BehaviorTree::~BehaviorTree() = default;

void BehaviorTree::Initialize()
{
    if (AISystem* system = GetSystem<AISystem>()) {
        system->RegisterBehaviorTree(this);
        return;
    }
    Entity* entity = GetEntity();
    std::printf("Warning: no AISystem in the space of \"%s\"; its BehaviorTree is not ticked\n",
                entity ? entity->GetName().c_str() : "?");
}

void BehaviorTree::Uninitialize()
{
    if (AISystem* system = GetSystem<AISystem>())
        system->UnregisterBehaviorTree(this);
    m_aiLink.Unlink();
}

void BehaviorTree::DebugDraw(ZOR::DebugDrawer*) {}

void BehaviorTree::Update(float dt)
{
    if (m_root)
        m_root->Tick(dt);
}

void BehaviorTree::SetRoot(Behavior* root)
{
    if (!root) {
        Entity* entity = GetEntity();
        std::printf("Warning: BehaviorTree of \"%s\": no root given; the tree is kept\n",
                    entity ? entity->GetName().c_str() : "?");
        return;
    }
    if (root != m_root.get())
        m_root.reset(root);
    m_root->Bind(GetInjector());
}

} // namespace quellor
