#pragma once
#include "platform/gpu/GpuTypes.h"

#include <cstdint>
#include <string>

namespace platform::gpu {

class Buffer;

// Where each vertex input is read from: attribute locations with their formats, the buffer
// bindings they read and how often each binding advances, and the index buffer.
class VertexArray {
public:
    VertexArray() = default;
    ~VertexArray();
    VertexArray(VertexArray&& other) noexcept;
    VertexArray& operator=(VertexArray&& other) noexcept;
    VertexArray(const VertexArray&) = delete;
    VertexArray& operator=(const VertexArray&) = delete;

    bool Create(std::string& error);
    void Reset();

    bool IsValid() const { return m_name != 0; }
    std::uint32_t GetName() const { return m_name; }

    // Location `location` reads `format` at `offset` bytes into each element of `binding`.
    // Integer formats stay integers; float formats are read as floats.
    bool SetAttribute(std::uint32_t location, std::uint32_t binding, DataFormat format, std::uint32_t offset,
                      std::string& error);
    // 0 advances every vertex, 1 every instance.
    void SetDivisor(std::uint32_t binding, std::uint32_t divisor);
    // A null or empty buffer detaches the binding.
    void SetVertexBuffer(std::uint32_t binding, const Buffer* buffer, std::uint32_t stride);
    void SetIndexBuffer(const Buffer* buffer);

private:
    std::uint32_t m_name = 0;
};

} // namespace platform::gpu
