#pragma once
#include "platform/gpu/GpuTypes.h"

#include <array>
#include <cstdint>

namespace platform::gpu {

class Framebuffer;
class Sampler;

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

    static constexpr std::uint32_t SamplerSlots = 16;
    const Sampler* GetSampler(std::uint32_t slot) const { return slot < SamplerSlots ? m_samplers[slot] : nullptr; }

private:
    PrimitiveTopology m_topology = PrimitiveTopology::TriangleList;
    const Framebuffer* m_target = nullptr;
    std::array<const Sampler*, SamplerSlots> m_samplers{};
};

} // namespace platform::gpu
