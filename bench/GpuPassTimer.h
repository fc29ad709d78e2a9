#pragma once
// Stamps the GPU at every pass boundary of a frame; after the frame, adds each pass's share
// (the time to the next stamp) to its name's total. The frame visits some passes once per
// screen. On llvmpipe the stamps measure the software rasteriser's time.
#include "platform/gpu/TimestampQuery.h"
#include "renderer/PassProfiler.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tarselbench {

class GpuPassTimer : public ZOR::PassProfiler {
public:
    void OnPass(const char* pass) override
    {
        if (m_used == m_queries.size()) {
            platform::gpu::TimestampQuery query;
            std::string error;
            if (!query.Create(error)) {
                m_broken = true;
                return;
            }
            m_queries.push_back(std::move(query));
        }
        m_queries[m_used].Stamp();
        m_names.resize(m_used + 1);
        m_names[m_used] = pass;
        ++m_used;
    }

    // Reads the frame's stamps (waiting for the GPU) and starts the next frame. A frame that
    // was not drawn stamps nothing and is not counted.
    void EndFrame()
    {
        if (m_used == 0)
            return;
        for (std::size_t i = 0; i + 1 < m_used; ++i) {
            const std::uint64_t a = m_queries[i].GetNanoseconds();
            const std::uint64_t b = m_queries[i + 1].GetNanoseconds();
            m_totals[m_names[i]] += b > a ? static_cast<double>(b - a) * 1e-6 : 0.0;
        }
        m_used = 0;
        ++m_frames;
    }

    bool Broken() const { return m_broken; }
    int GetFrames() const { return m_frames; }

    // Milliseconds per frame of each pass, costliest first.
    std::vector<std::pair<std::string, double>> PerFrame() const
    {
        std::vector<std::pair<std::string, double>> passes;
        for (const auto& [name, ms] : m_totals)
            passes.emplace_back(name, ms / std::max(m_frames, 1));
        std::stable_sort(passes.begin(), passes.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
        return passes;
    }

    void Print() const
    {
        double sum = 0.0;
        for (const auto& [name, ms] : m_totals)
            sum += ms;
        std::printf("    GPU per pass (ms per frame):");
        for (const auto& [name, ms] : m_totals)
            if (ms / m_frames >= 0.0005)
                std::printf(" %s %.3f;", name.c_str(), ms / m_frames);
        std::printf(" sum %.3f\n", sum / std::max(m_frames, 1));
    }

private:
    std::vector<platform::gpu::TimestampQuery> m_queries;
    std::vector<std::string> m_names;
    std::size_t m_used = 0;
    std::map<std::string, double> m_totals;
    int m_frames = 0;
    bool m_broken = false;
};

} // namespace tarselbench
