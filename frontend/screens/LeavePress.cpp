#include "frontend/screens/LeavePress.h"

#include "engine/Input.h"

namespace quellor {

namespace {

constexpr int kPadCount = 4;
constexpr int kKeyboard = -1;
constexpr int kEscape = 27;
constexpr int kEnter = 13;
constexpr int kPadA = 10;
constexpr int kPadB = 11;

} // namespace

LeavePress FindLeavePress(const Input* input, bool ready)
{
    if (!input)
        return LeavePress::None;
    if (ready && (input->KeyIsPressed(kEscape, kKeyboard) || input->KeyIsPressed(kEnter, kKeyboard)))
        return LeavePress::Keyboard;
    for (int pad = 0; pad < kPadCount; ++pad)
        if ((ready && input->KeyIsPressed(kPadA, pad)) || input->KeyIsPressed(kPadB, pad))
            return LeavePress::Pad;
    return LeavePress::None;
}

} // namespace quellor
