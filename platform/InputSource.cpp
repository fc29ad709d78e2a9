#include "platform/InputSource.h"

#include <algorithm>

namespace platform {

void PadState::SetAxis(PadAxis axis, int value)
{
    const auto stick = static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
    const auto trigger = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    switch (axis) {
    case PadAxis::LeftX: thumbLX = stick; break;
    case PadAxis::LeftY: thumbLY = stick; break;
    case PadAxis::RightX: thumbRX = stick; break;
    case PadAxis::RightY: thumbRY = stick; break;
    case PadAxis::LeftTrigger: leftTrigger = trigger; break;
    case PadAxis::RightTrigger: rightTrigger = trigger; break;
    }
}

void MergeSidedModifiers(std::array<bool, KeyCount>& keys)
{
    keys[vk::Shift] = keys[vk::Shift] || keys[vk::LeftShift] || keys[vk::RightShift];
    keys[vk::Control] = keys[vk::Control] || keys[vk::LeftControl] || keys[vk::RightControl];
    keys[vk::Menu] = keys[vk::Menu] || keys[vk::LeftMenu] || keys[vk::RightMenu];
}

} // namespace platform
