#pragma once
#include "renderer/Material.h"
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
#include <vector>

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

    // A pass starts here: no live records and no queued batches.
    void Clear()
    {
        m_count = 0;
        m_batches.clear();
    }

    // One run of instances drawn with the same geometry, material, texture and blend mode.
    struct Batch {
        const Handle* texture = nullptr;
        BlendMode blendMode = static_cast<BlendMode>(0xFFFFFFFFu); // all ones: leave as is
        const Handle* geometry = nullptr;
        std::uint32_t verticesPerInstance = 0;
        const Material* material = nullptr;
        std::uint32_t first = 0;
    };

    // Each setter writes into the open batch while no instance was appended to it, else opens a
    // new batch that carries the previous one's fields over. The latest value always wins: a
    // batch opened for a new material must still take the new model set right after it.
    void SetGeometry(const Handle& geometry, std::uint32_t verticesPerInstance)
    {
        Batch& batch = OpenBatch();
        batch.geometry = &geometry;
        batch.verticesPerInstance = verticesPerInstance;
    }
    void SetMaterial(const Material* material) { OpenBatch().material = material; }
    void SetTexture(const Handle* texture) { OpenBatch().texture = texture; }
    const std::vector<Batch>& GetBatches() const { return m_batches; }

    // Uploads every live record in one copy and draws each batch with one instanced draw. With
    // no live record nothing is drawn and the queue is dropped.
    void Flush(RenderContext* context, std::uint32_t geometryStride)
    {
        if (m_count == 0 || context == nullptr) {
            m_batches.clear();
            return;
        }
        context->CopyData(m_vertexBuffer, m_elements.get(), m_count * kRecordSize);
        for (std::size_t i = 0; i < m_batches.size(); ++i) {
            const Batch& batch = m_batches[i];
            const std::uint32_t end = i + 1 < m_batches.size() ? m_batches[i + 1].first : m_count;
            if (end <= batch.first || batch.geometry == nullptr)
                continue;
            context->BindVertexBuffers(*batch.geometry, geometryStride, m_vertexBuffer, kRecordSize);
            if (batch.material)
                batch.material->Bind(context);
            if (batch.blendMode != static_cast<BlendMode>(0xFFFFFFFFu))
                context->SetBlendMode(batch.blendMode);
            if (batch.texture)
                context->BindTexture(0, *batch.texture);
            context->DrawInstanced(batch.verticesPerInstance, end - batch.first, 0, batch.first);
        }
        m_batches.clear();
    }
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
    Batch& OpenBatch()
    {
        if (!m_batches.empty() && m_batches.back().first == m_count)
            return m_batches.back();
        Batch next = m_batches.empty() ? Batch() : m_batches.back();
        next.first = m_count;
        m_batches.push_back(next);
        return m_batches.back();
    }

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
    std::vector<Batch> m_batches;
};

} // namespace ZOR
