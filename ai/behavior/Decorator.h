#pragma once
// A node with one owned child whose result it reshapes. A decorator without a child fails
// (with a warning) instead of ticking nothing.
#include "ai/behavior/Behavior.h"

namespace quellor {

class Decorator : public Behavior {
public:
    Decorator() = default;
    ~Decorator() override;

    // Takes ownership; the previous child is deleted.
    void SetChild(Behavior* child);
    Behavior* GetChild() const { return child.get(); }

    // Failure without a child, else Decorate.
    BehaviorStatus Update(float dt) final;
    // Aborts the child if it is still Running.
    void OnTerminate() override;
    // Self, then the child.
    void Bind(std::shared_ptr<Injector> injector) override;
    // The child's; 0 without one.
    float GetPriority() const override;

protected:
    // The decorator's own rule; the child exists.
    virtual BehaviorStatus Decorate(float dt) = 0;

    std::unique_ptr<Behavior> child;

private:
    bool m_warned = false;
};

} // namespace quellor
