#pragma once
#include "platform/gpu/GpuTypes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform::gpu {

// A block of GPU memory that vertices, indices or shader constants are read from.
class Buffer {
public:
    enum class Result { Ok, OutOfMemory, Failed };

    Buffer() = default;
    ~Buffer();
    Buffer(Buffer&& other) noexcept;
    Buffer& operator=(Buffer&& other) noexcept;
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    // Replaces what the object held. data, when not null, gives the first `bytes` bytes; an
    // immutable buffer without data holds zeros. A size of 0 fails.
    Result Create(std::uint32_t bytes, const void* data, BufferUsage usage, std::string& error);
    void Reset();

    bool IsValid() const { return m_name != 0; }
    std::uint32_t GetName() const { return m_name; }
    std::uint32_t GetSize() const { return m_size; }
    BufferUsage GetUsage() const { return m_usage; }

    // Writes bytes at the start; not for immutable buffers. The caller keeps bytes <= size.
    bool Write(const void* data, std::uint32_t bytes, std::string& error);
    // The whole buffer for writing, its old contents discarded; only dynamic buffers map.
    void* Map();
    void Unmap();
    bool IsMapped() const { return m_mapped; }

    // The contents, for checks.
    bool Read(std::vector<std::uint8_t>& bytes) const;

    // Test hook: the next Create on any thread fails with this result as if the driver had
    // refused it (a driver that over-commits memory never reports running out).
    static void FailNextCreation(Result result);

private:
    std::uint32_t m_name = 0;
    std::uint32_t m_size = 0;
    BufferUsage m_usage = BufferUsage::Default;
    bool m_mapped = false;
};

} // namespace platform::gpu
