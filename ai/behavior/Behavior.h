#pragma once
// A node of a behaviour tree: created in code, owned by its parent (the root by the
// BehaviorTree component) and bound to its agent's Injector, through which it reaches the
// agent's entity, components and systems. Parents run children only through Tick, which starts
// a node afresh unless it was left Running, and stop a running child with Abort.
#include "ai/behavior/BehaviorStatus.h"
#include "engine/QLObject.h"

#include <memory>

namespace quellor {

class Behavior : public QLObject {
public:
    Behavior() = default;
    Behavior(const Behavior&) = delete;
    Behavior& operator=(const Behavior&) = delete;
    ~Behavior() override;

    // OnInitialize unless the node was Running, then Update, then OnTerminate unless it is
    // Running now; returns the new status.
    BehaviorStatus Tick(float dt);
    // Marks the node Aborted and terminates it.
    void Abort();
    bool IsTerminated() const { return status == BehaviorStatus::Success || status == BehaviorStatus::Failure; }
    bool IsRunning() const { return status == BehaviorStatus::Running; }
    void Reset() { status = BehaviorStatus::Invalid; }
    BehaviorStatus GetStatus() const { return status; }

    virtual void OnInitialize();
    virtual BehaviorStatus Update(float dt) = 0;
    virtual void OnTerminate();
    // Takes the injector as the node's own; parents pass it on to their children.
    virtual void Bind(std::shared_ptr<Injector> injector);
    // The node's weight when a BehaviorWeaponSelector chooses among its children.
    virtual float GetPriority() const;

protected:
    BehaviorStatus status = BehaviorStatus::Invalid;
};

} // namespace quellor
