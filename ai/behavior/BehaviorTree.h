#pragma once
// Gives an entity a behaviour tree built in code, ticked once a frame by the "AISystem" of its
// space after steering. The component owns the tree and deletes it with itself.
#include "ai/behavior/Behavior.h"
#include "engine/Component.h"
#include "engine/IntrusiveList.h"

#include <memory>

namespace quellor {

class BehaviorTree : public Component {
    QUELLOR_REFLECT_KEYED(BehaviorTree)

    BehaviorTree();
    BehaviorTree(const BehaviorTree&) = delete;
    BehaviorTree& operator=(const BehaviorTree&) = delete;
    ~BehaviorTree() override;

    // Registers with the space's "AISystem" (without one: a warning, and it is never ticked).
    void Initialize() override;
    void Uninitialize() override;
    void DebugDraw(ZOR::DebugDrawer* drawer) override;

    // Ticks the root, if any; the result is not used.
    void Update(float dt);

    // Replaces (and deletes) the tree and binds every node to this component's Injector, so
    // the nodes reach the agent. Null is refused with a warning and the tree is kept. Call it
    // once the component is on its entity.
    void SetRoot(Behavior* root);
    Behavior* GetRoot() const { return m_root.get(); }

    IntrusiveLink<BehaviorTree> m_aiLink;

private:
    std::unique_ptr<Behavior> m_root;
};

} // namespace quellor
