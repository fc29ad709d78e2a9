#pragma once
// The leave inputs of the screens that only show something (how to play, the credits): Escape
// or Enter on the keyboard and A on a pad once the screen is ready, and B on a pad at any time.
namespace quellor {

class Input;

enum class LeavePress { None, Keyboard, Pad };

// The keyboard first, then pads 0 to 3; None without an input system.
LeavePress FindLeavePress(const Input* input, bool ready);

} // namespace quellor
