#pragma once
#include <cstdint>
#include <string>

namespace platform::gpu {

// A GPU timestamp: the time at which the GPU has carried out every command given before Stamp.
// Reading it waits for the GPU; the difference of two stamps is the GPU time spent between them.
class TimestampQuery {
public:
    TimestampQuery() = default;
    ~TimestampQuery();
    TimestampQuery(TimestampQuery&& other) noexcept;
    TimestampQuery& operator=(TimestampQuery&& other) noexcept;
    TimestampQuery(const TimestampQuery&) = delete;
    TimestampQuery& operator=(const TimestampQuery&) = delete;

    // False with the reason when the context has no timer queries.
    bool Create(std::string& error);
    void Reset();
    bool IsValid() const { return m_name != 0; }

    // Records the stamp after the commands given so far.
    void Stamp();
    bool WasStamped() const { return m_stamped; }
    // The stamp in nanoseconds, waiting for the GPU to reach it; 0 when never stamped.
    std::uint64_t GetNanoseconds() const;

private:
    std::uint32_t m_name = 0;
    bool m_stamped = false;
};

} // namespace platform::gpu
