#pragma once
#include "platform/gpu/GpuTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform::gpu {

class Shader;

// Shader stages linked into one pipeline, with what the linker found: the vertex inputs the
// vertex stage reads and the texture units its samplers read.
class Program {
public:
    struct Input {
        std::string name;
        std::uint32_t location = 0;
        std::uint32_t locations = 1; // a matrix takes one location a column
        ValueKind kind = ValueKind::Float;
    };
    struct SamplerUniform {
        std::string name; // without an array suffix
        std::uint32_t unit = 0;
    };

    Program() = default;
    ~Program();
    Program(Program&& other) noexcept;
    Program& operator=(Program&& other) noexcept;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Replaces what the object held. Null entries are skipped. False with the linker's text.
    bool Link(const Shader* const* shaders, std::uint32_t count, std::string& log);
    void Reset();

    bool IsValid() const { return m_name != 0; }
    std::uint32_t GetName() const { return m_name; }
    const std::vector<Input>& GetInputs() const { return m_inputs; }
    // One entry per array element, each with its unit.
    const std::vector<SamplerUniform>& GetSamplers() const { return m_samplers; }

private:
    void Reflect();

    std::uint32_t m_name = 0;
    std::vector<Input> m_inputs;
    std::vector<SamplerUniform> m_samplers;
};

} // namespace platform::gpu
