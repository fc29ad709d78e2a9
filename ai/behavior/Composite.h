#pragma once
// A node with owned children, run in insertion order by the concrete composites.
#include "ai/behavior/Behavior.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace quellor {

class Composite : public Behavior {
public:
    Composite() = default;
    ~Composite() override;

    // Takes ownership and appends; null is refused with a warning.
    void AddChild(Behavior* child);
    std::size_t GetChildCount() const { return children.size(); }
    // The child at the index; null past the end.
    Behavior* GetChild(std::size_t index) const { return index < children.size() ? children[index].get() : nullptr; }

    // Self, then every child in order.
    void Bind(std::shared_ptr<Injector> injector) override;
    // The largest of 0 and every child's.
    float GetPriority() const override;

protected:
    // Ticks the children from `current` on while they return `moveOn`, advancing `current`
    // past each; returns the first other result (leaving `current` on that child), or `moveOn`
    // once the children are used up.
    BehaviorStatus RunInOrder(std::size_t& current, float dt, BehaviorStatus moveOn);
    void AbortRunningChildren();

    std::vector<std::unique_ptr<Behavior>> children;
};

} // namespace quellor
