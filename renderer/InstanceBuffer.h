#pragma once
#include "renderer/dx11/RenderContext.h"
#include "renderer/math/Color.h"
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"
#include "renderer/math/float4x4.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace ZOR {

// Per-instance records that the instanced passes upload; each matches its vertex layout's
// per-instance elements byte for byte.
struct SpriteInstance {
    float2 position;
    float2 size;
    float4 frameData;
    float alpha;
};
struct ParticleInstance {
    float3 position;
    float scale;
    float rotation;
    float alpha;
    Color color;
};
struct ModelInstance {
    float4x4 world;
    float4x4 normal;
    float glowStrength;
};
static_assert(sizeof(SpriteInstance) == 36);
static_assert(sizeof(ParticleInstance) == 40);
static_assert(sizeof(ModelInstance) == 132);

// A growable array of per-instance records of one type with the dynamic vertex buffer the
// passes copy them into. The passes append; Grow re-creates the vertex buffer in its handle.
template <typename Record>
class InstanceBuffer {
public:
    static constexpr std::uint32_t kRecordSize = sizeof(Record);

    explicit InstanceBuffer(std::uint32_t capacity)
        : m_capacity(std::max<std::uint32_t>(capacity, 1)), m_elements(std::make_unique<Record[]>(m_capacity))
    {
    }
    InstanceBuffer(const InstanceBuffer&) = delete;
    InstanceBuffer& operator=(const InstanceBuffer&) = delete;

    // Gives the buffer its render context and creates its vertex buffer at the current capacity.
    bool Initialize(RenderContext* context)
    {
        m_context = context;
        return CreateVertexBuffer();
    }

    // Appends one record, growing first when full.
    void Append(const Record& record)
    {
        if (m_count >= m_capacity)
            Grow();
        m_elements[m_count++] = record;
    }

    // Capacity x 1.5 (truncated, at least one more), the live records kept, the vertex buffer
    // made again at the new size in the same handle.
    void Grow()
    {
        std::uint32_t capacity = static_cast<std::uint32_t>(static_cast<float>(m_capacity) * 1.5f);
        capacity = std::max(capacity, m_capacity + 1);
        auto elements = std::make_unique<Record[]>(capacity);
        std::copy(m_elements.get(), m_elements.get() + m_count, elements.get());
        m_elements = std::move(elements);
        m_capacity = capacity;
        CreateVertexBuffer();
    }

    void Clear() { m_count = 0; }
    // Frees the vertex buffer (the records stay).
    void Release()
    {
        if (m_context && m_vertexBuffer)
            m_context->Release(m_vertexBuffer);
        m_vertexBuffer = Handle();
    }

    std::uint32_t GetCount() const { return m_count; }
    std::uint32_t GetCapacity() const { return m_capacity; }
    const Record* GetElements() const { return m_elements.get(); }
    Record& operator[](std::uint32_t i) { return m_elements[i]; }
    const Handle& GetVertexBuffer() const { return m_vertexBuffer; }

private:
    bool CreateVertexBuffer()
    {
        if (!m_context)
            return false;
        return m_context->CreateVertexBuffer(m_vertexBuffer, BufferUsage::Dynamic, m_capacity * kRecordSize, nullptr);
    }

    std::uint32_t m_count = 0;
    std::uint32_t m_capacity;
    std::unique_ptr<Record[]> m_elements;
    RenderContext* m_context = nullptr;
    Handle m_vertexBuffer;
};

} // namespace ZOR
