#pragma once
// An action that finishes after a number of frames: WaitFrame(0) in its start frame,
// WaitFrame(1) in the frame after.
#include "engine/Action.h"

#include <cstdint>

namespace quellor {

class WaitFrame : public Action {
public:
    explicit WaitFrame(std::uint32_t frames);
    ~WaitFrame() override;

    void Update(float dt) override;

private:
    std::uint32_t m_frames;
    std::uint32_t m_counter = 0;
};

} // namespace quellor
