#pragma once
// An action that calls a function when it starts and finishes at once, so it passes in the
// frame in which its lane reaches it.
#include "engine/Action.h"
#include "engine/Delegate.h"

#include <functional>

namespace quellor {

class Invoke : public Action {
public:
    explicit Invoke(std::function<void()> function);
    explicit Invoke(Delegate<> delegate);
    ~Invoke() override;

    void Execute();
    void ExecuteDelegate();

private:
    Delegate<> m_delegate;
    std::function<void()> m_function;
};

} // namespace quellor
