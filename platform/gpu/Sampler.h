#pragma once
#include "platform/gpu/GpuTypes.h"

#include <cstdint>
#include <string>

namespace platform::gpu {

// How textures are filtered and addressed when read.
class Sampler {
public:
    Sampler() = default;
    ~Sampler();
    Sampler(Sampler&& other) noexcept;
    Sampler& operator=(Sampler&& other) noexcept;
    Sampler(const Sampler&) = delete;
    Sampler& operator=(const Sampler&) = delete;

    // Replaces what the object held. The anisotropy is limited to what the device offers.
    bool Create(const SamplerDesc& desc, std::string& error);
    void Reset();

    bool IsValid() const { return m_name != 0; }
    std::uint32_t GetName() const { return m_name; }
    const SamplerDesc& GetDesc() const { return m_desc; }

private:
    std::uint32_t m_name = 0;
    SamplerDesc m_desc;
};

} // namespace platform::gpu
