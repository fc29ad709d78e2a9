#pragma once
// Adds the steady-clock time between the renderer's stage marks to the stage that ran, so that
// the frame's CPU side splits into culling, bucketing and sorting, batching and submitting.
#include "renderer/PassProfiler.h"

#include <array>
#include <chrono>
#include <cstddef>

namespace tarselbench {

class CpuStageTimer : public ZOR::PassProfiler {
public:
    using Stage = ZOR::PassProfiler::Stage;
    static constexpr std::size_t kStageCount = 4; // every stage but Idle

    void OnPass(const char*) override {}
    void OnStage(Stage stage) override
    {
        const auto now = Clock::now();
        if (m_current != Stage::Idle)
            m_ms[static_cast<std::size_t>(m_current)] += std::chrono::duration<double, std::milli>(now - m_since).count();
        m_current = stage;
        m_since = now;
    }

    // Milliseconds spent in a stage since the last Reset.
    double Milliseconds(Stage stage) const { return m_ms[static_cast<std::size_t>(stage)]; }
    void Reset() { m_ms = {}; }

    static const char* Name(Stage stage)
    {
        static const char* const kNames[kStageCount] = {"cull", "bucket and sort", "batch", "submit"};
        return kNames[static_cast<std::size_t>(stage)];
    }

private:
    using Clock = std::chrono::steady_clock;
    std::array<double, kStageCount> m_ms{};
    Stage m_current = Stage::Idle;
    Clock::time_point m_since;
};

} // namespace tarselbench
