#pragma once
// The rules the back end applies when it creates resources, kept apart from the GPU so that they
// can be checked on their own: render-target sizes, constant-buffer sizes, how an input layout
// becomes attribute locations and buffer offsets, and which sampler state a shader's sampler
// names ask for.
#include "platform/gpu/GpuTypes.h"
#include "renderer/dx11/RenderContext.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ZOR {

// Policy 0: the mode's size; 1: the given size times scale; 2: the mode's size times scale; a
// scaled side is floor(side x scale + 0.5) computed in float. Another policy gives 0 x 0, and so
// do negative or non-finite products; a product past the 32-bit range gives the largest side.
Dimension RenderTargetSize(RenderTargetPolicy policy, float scale, const Dimension& given, const Dimension& mode);

// The GPU size of a constant buffer: bytes rounded up to a multiple of 16; nullopt when that
// does not fit 32 bits.
std::optional<std::uint32_t> ConstantBufferBytes(std::uint32_t bytes);

// Bytes of a width x height image at bytesPerPixel, in 64 bits.
std::uint64_t ImageBytes(const Dimension& size, std::uint32_t bytesPerPixel);

// The kind of numbers a vertex-input format carries.
platform::gpu::ValueKind FormatKind(Format format);

// One input element as the GPU reads it: attribute location (the element's position in the
// layout), input slot (1 for per-instance elements), semantic index, byte offset in its slot,
// and format.
struct LayoutAttribute {
    std::string semanticName;
    std::uint32_t location = 0;
    std::uint32_t slot = 0;
    std::uint32_t semanticIndex = 0;
    std::uint32_t offset = 0;
    std::uint32_t bytes = 0;
    Format format = Format::R32_FLOAT;
    platform::gpu::DataFormat dataFormat = platform::gpu::DataFormat::Unknown;
    platform::gpu::ValueKind kind = platform::gpu::ValueKind::Float;
};
// Offsets are appended per slot. Per-instance elements count their semantic index up over a run
// of one name and start again at 0 when the name changes; per-vertex elements take 0. nullopt
// when an element's format is not a vertex-input format.
std::optional<std::vector<LayoutAttribute>> BuildInputLayout(const std::vector<InputElement>& elements);

// The sampler state slot a sampler uniform asks for: N for a name ending in "_s<N>" with N in
// 0-7, else 1 (bilinear clamp).
std::uint32_t SamplerStateForName(const std::string& name);

} // namespace ZOR
