#pragma once
#include "platform/gpu/GpuTypes.h"

#include <array>
#include <cstdint>

namespace platform::gpu {

class Buffer;
class Framebuffer;
class Program;
class Sampler;
class Texture2D;
class VertexArray;

// The pipeline state of the device's context: viewport, rasterizer, depth-stencil and blend
// state, samplers, topology and the target drawn into. Calls go to the context current on the
// calling thread, which must be the device's.
class ImmediateContext {
public:
    void SetViewport(const ViewportDesc& viewport);
    void SetRasterizerState(const RasterizerDesc& desc);
    void SetDepthStencilState(const DepthStencilDesc& desc, std::uint32_t stencilRef);
    // Null turns blending off on every target.
    void SetBlendState(const BlendDesc* desc, const std::array<float, 4>& factor);
    // Sampler slot first + i reads with samplers[i]; a null entry leaves the slot unfiltered.
    void SetSamplers(std::uint32_t first, std::uint32_t count, const Sampler* const* samplers);
    void SetPrimitiveTopology(PrimitiveTopology topology) { m_topology = topology; }
    PrimitiveTopology GetPrimitiveTopology() const { return m_topology; }
    // Null: no target. Only the swap chain writes the window's own framebuffer, so nothing may be
    // drawn while no target is set.
    void SetRenderTarget(const Framebuffer* target);
    const Framebuffer* GetRenderTarget() const { return m_target; }

    // Waits until every command given so far has been carried out.
    void Finish();

    // The pipeline that draws; null draws nothing.
    void SetProgram(const Program* program);
    void SetVertexArray(const VertexArray* vertices);
    // Uniform block binding `binding` reads the buffer; null leaves it empty.
    void SetUniformBuffer(std::uint32_t binding, const Buffer* buffer);
    // Texture unit `unit` reads the texture with the sampler; null leaves either empty.
    void SetTexture(std::uint32_t unit, const Texture2D* texture);
    void SetSampler(std::uint32_t unit, const Sampler* sampler);

    // Draws with the program, vertex array, target and topology set. Instanced inputs read
    // element startInstance + instance.
    void Draw(std::uint32_t vertexCount, std::uint32_t startVertex, std::uint32_t instanceCount,
              std::uint32_t startInstance);
    // 32-bit indices from the vertex array's index buffer; each index is offset by baseVertex.
    void DrawIndexed(std::uint32_t indexCount, std::uint32_t startIndex, std::int32_t baseVertex,
                     std::uint32_t instanceCount, std::uint32_t startInstance);

    // Draw and DrawIndexed calls made through this context since it was made.
    std::uint64_t GetDrawCallCount() const { return m_drawCalls; }

    struct Limits {
        std::uint32_t textureUnits = 16;
        std::uint32_t uniformBufferBindings = 36;
        std::uint32_t vertexAttributes = 16;
        std::uint32_t maxTextureSize = 16384;
    };
    // What the current context offers.
    static Limits QueryLimits();

    static constexpr std::uint32_t SamplerSlots = 16;
    const Sampler* GetSampler(std::uint32_t slot) const { return slot < SamplerSlots ? m_samplers[slot] : nullptr; }

private:
    PrimitiveTopology m_topology = PrimitiveTopology::TriangleList;
    const Framebuffer* m_target = nullptr;
    std::uint64_t m_drawCalls = 0;
    std::array<const Sampler*, SamplerSlots> m_samplers{};
};

} // namespace platform::gpu
