#include "engine/WaitFrame.h"

namespace quellor {

WaitFrame::WaitFrame(std::uint32_t frames) : Action(true), m_frames(frames) {}

WaitFrame::~WaitFrame() = default;

void WaitFrame::Update(float)
{
    bool done = m_counter == m_frames;
    ++m_counter;
    if (done)
        Finish();
}

} // namespace quellor
