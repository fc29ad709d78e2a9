#pragma once
// Builds a behaviour tree in code as a chain: each Add creates a node, attaches it to the
// current node (as a composite's next child or a decorator's child) and makes it current; End
// steps back to its parent. The first node is the root, which Release hands over.
//
//     Behavior* root = BehaviorTreeBuilder()
//         .Add<Selector>()
//             .Leaf<BehaviorHasTarget>()
//         .End()
//         .Release();
#include "ai/behavior/Behavior.h"

#include <memory>
#include <utility>
#include <vector>

namespace quellor {

class BehaviorTreeBuilder {
public:
    BehaviorTreeBuilder() = default;
    BehaviorTreeBuilder(const BehaviorTreeBuilder&) = delete;
    BehaviorTreeBuilder& operator=(const BehaviorTreeBuilder&) = delete;
    ~BehaviorTreeBuilder();

    template<typename T, typename... Args>
    BehaviorTreeBuilder& Add(Args&&... args)
    {
        return Attach(new T(std::forward<Args>(args)...));
    }
    // Add, then End.
    template<typename T, typename... Args>
    BehaviorTreeBuilder& Leaf(Args&&... args)
    {
        return Attach(new T(std::forward<Args>(args)...)).End();
    }
    // Takes ownership. A node that cannot be attached (a second child of a
    // decorator, a child of a leaf) is refused with a warning and deleted; the cursor then
    // stays, so End calls still pair up.
    BehaviorTreeBuilder& Attach(Behavior* node);
    // Back to the parent of the current node (at the root: stays there).
    BehaviorTreeBuilder& End();
    // The root; ownership passes to the caller. Null when nothing was added or it was released.
    Behavior* Release();

    // The computer player's tree.
    static Behavior* BuildBotTree();

private:
    std::unique_ptr<Behavior> m_root;
    // The path from the root to the current node; a refused node pushes null.
    std::vector<Behavior*> m_cursor;
};

} // namespace quellor
