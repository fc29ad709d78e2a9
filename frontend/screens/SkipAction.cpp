#include "frontend/screens/SkipAction.h"

#include "engine/ActionList.h"
#include "engine/Engine.h"
#include "engine/Input.h"

#include <cstdio>

namespace quellor {

namespace {

constexpr int kPadCount = 4;

} // namespace

SkipAction::SkipAction(Action* target, float timeLimit) : Action(true), m_pending(target), m_timeLimit(timeLimit)
{
    m_onStarted.Connect(MakeDelegate(this, &SkipAction::Begin), 0);
}

SkipAction::~SkipAction()
{
    // A skip that never started still owns its target.
    delete m_pending;
}

void SkipAction::Begin()
{
    Action* target = m_pending;
    m_pending = nullptr;
    if (!target)
        return;
    ActionList* owner = GetOwnerList();
    if (!owner) {
        std::printf("Warning: the skip runs in no list; its target is dropped\n");
        delete target;
        return;
    }
    owner->PushFront(target, 0);
    m_target.Reset(target);
}

void SkipAction::Update(float dt)
{
    m_elapsed += dt;
    if (m_elapsed >= m_timeLimit) {
        Finish();
        return;
    }
    const Input* input = DefaultSystem<Input>();
    if (!input || !FindPress(*input))
        return;
    Finish();
    m_target.Cancel();
}

std::optional<SkipAction::Press> SkipAction::FindPress(const Input& input)
{
    for (int code : kSkipCodes) {
        if (input.KeyIsPressed(code, -1))
            return Press{code, -1};
        for (int pad = 0; pad < kPadCount; ++pad)
            if (input.IsConnected(pad) && input.KeyIsPressed(code, pad))
                return Press{code, pad};
    }
    return std::nullopt;
}

} // namespace quellor
