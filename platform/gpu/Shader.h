#pragma once
#include "platform/gpu/GpuTypes.h"

#include <cstdint>
#include <string>

namespace platform::gpu {

// One compiled shader stage, from GLSL source.
class Shader {
public:
    Shader() = default;
    ~Shader();
    Shader(Shader&& other) noexcept;
    Shader& operator=(Shader&& other) noexcept;
    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    // Replaces what the object held. False with the compiler's text in log.
    bool Compile(ShaderStage stage, const std::string& source, std::string& log);
    void Reset();

    bool IsValid() const { return m_name != 0; }
    std::uint32_t GetName() const { return m_name; }
    ShaderStage GetStage() const { return m_stage; }

private:
    std::uint32_t m_name = 0;
    ShaderStage m_stage = ShaderStage::Vertex;
};

} // namespace platform::gpu
