#include "ai/behavior/BehaviorTreeBuilder.h"

#include "ai/behavior/BehaviorAlignWithMovement.h"
#include "ai/behavior/BehaviorExplore.h"
#include "ai/behavior/BehaviorHasTarget.h"
#include "ai/behavior/BehaviorLookAtTarget.h"
#include "ai/behavior/BehaviorSeekTarget.h"
#include "ai/behavior/BehaviorShootLift.h"
#include "ai/behavior/BehaviorShootOrb.h"
#include "ai/behavior/BehaviorStrafeLeftRight.h"
#include "ai/behavior/BehaviorWeaponSelector.h"
#include "ai/behavior/Composite.h"
#include "ai/behavior/Decorator.h"
#include "ai/behavior/DecoratorActive.h"
#include "ai/behavior/Invert.h"
#include "ai/behavior/Parallel.h"
#include "ai/behavior/Selector.h"
#include "ai/behavior/Sequence.h"
#include "ai/behavior/UntilFail.h"

#include <cstdio>

namespace quellor {

BehaviorTreeBuilder::~BehaviorTreeBuilder() = default;

BehaviorTreeBuilder& BehaviorTreeBuilder::Attach(Behavior* node)
{
    std::unique_ptr<Behavior> owned(node);
    if (!owned) {
        std::printf("Warning: BehaviorTreeBuilder: no node to attach\n");
        m_cursor.push_back(nullptr);
        return *this;
    }
    Behavior* placed = nullptr;
    if (m_cursor.empty()) {
        m_root = std::move(owned);
        placed = m_root.get();
    } else if (auto* composite = dynamic_cast<Composite*>(m_cursor.back())) {
        placed = owned.get();
        composite->AddChild(owned.release());
    } else if (auto* decorator = dynamic_cast<Decorator*>(m_cursor.back()); decorator && !decorator->GetChild()) {
        placed = owned.get();
        decorator->SetChild(owned.release());
    }
    if (!placed)
        std::printf("Warning: BehaviorTreeBuilder: the current node takes no further child; the node is dropped\n");
    m_cursor.push_back(placed);
    return *this;
}

BehaviorTreeBuilder& BehaviorTreeBuilder::End()
{
    if (m_cursor.size() > 1)
        m_cursor.pop_back();
    return *this;
}

Behavior* BehaviorTreeBuilder::Release()
{
    m_cursor.clear();
    return m_root.release();
}

Behavior* BehaviorTreeBuilder::BuildBotTree()
{
    using P = Parallel::Policy;
    return BehaviorTreeBuilder()
        .Add<DecoratorActive>()
            .Add<Selector>()
                // Fight while there is a target.
                .Add<Parallel>(P::RequireAll, P::RequireOne)
                    .Add<UntilFail>().Leaf<BehaviorHasTarget>().End()
                    .Leaf<BehaviorLookAtTarget>()
                    .Add<BehaviorWeaponSelector>()
                        .Leaf<BehaviorShootLift>()
                        .Leaf<BehaviorShootOrb>()
                    .End()
                    .Add<UntilFail>()
                        .Add<Selector>()
                            .Leaf<BehaviorStrafeLeftRight>()
                            .Leaf<BehaviorSeekTarget>()
                        .End()
                    .End()
                    .Add<UntilFail>().Leaf<BehaviorAlignWithMovement>().End()
                .End()
                // Roam while there is none.
                .Add<Parallel>(P::RequireOne, P::RequireOne)
                    .Add<UntilFail>().Add<Invert>().Leaf<BehaviorHasTarget>().End().End()
                    .Add<Sequence>().Leaf<BehaviorExplore>().End()
                    .Add<UntilFail>().Leaf<BehaviorAlignWithMovement>().End()
                .End()
            .End()
        .End()
        .Release();
}

} // namespace quellor
