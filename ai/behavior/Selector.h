#pragma once
// Tries its children in order until one does not fail. A Running child is resumed on the next
// tick without re-checking the children before it; once the selector finishes, it starts
// again from the first child.
#include "ai/behavior/Composite.h"

namespace quellor {

class Selector : public Composite {
public:
    void OnInitialize() override;
    // Failure when empty or when every child failed, else the first other result.
    BehaviorStatus Update(float dt) override;
    // Aborts every child still Running.
    void OnTerminate() override;

private:
    std::size_t current = 0;
};

} // namespace quellor
