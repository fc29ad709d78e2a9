#include "renderer/dx11/ResourceRules.h"

#include <cmath>
#include <limits>

namespace ZOR {
namespace {

std::uint32_t ScaledSide(std::uint32_t side, float scale)
{
    const float product = static_cast<float>(side) * scale + 0.5f;
    if (!std::isfinite(product) || product < 1.0f)
        return 0;
    if (product >= 4294967295.0f)
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(product);
}

} // namespace

Dimension RenderTargetSize(RenderTargetPolicy policy, float scale, const Dimension& given, const Dimension& mode)
{
    switch (policy) {
    case RenderTargetPolicy::ScreenSize: return mode;
    case RenderTargetPolicy::FixedSize: return Dimension(ScaledSide(given.width, scale), ScaledSide(given.height, scale));
    case RenderTargetPolicy::ScaledScreenSize:
        return Dimension(ScaledSide(mode.width, scale), ScaledSide(mode.height, scale));
    }
    return Dimension(0, 0);
}

std::optional<std::uint32_t> ConstantBufferBytes(std::uint32_t bytes)
{
    const std::uint64_t rounded = (std::uint64_t{bytes} + 15u) / 16u * 16u;
    if (rounded > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::uint32_t>(rounded);
}

std::uint64_t ImageBytes(const Dimension& size, std::uint32_t bytesPerPixel)
{
    return std::uint64_t{size.width} * std::uint64_t{size.height} * bytesPerPixel;
}

platform::gpu::ValueKind FormatKind(Format format)
{
    const auto value = static_cast<std::uint32_t>(format);
    if (value >= 4 && value <= 7)
        return platform::gpu::ValueKind::Uint;
    if (value >= 8 && value <= 11)
        return platform::gpu::ValueKind::Int;
    return platform::gpu::ValueKind::Float;
}

std::optional<std::vector<LayoutAttribute>> BuildInputLayout(const std::vector<InputElement>& elements)
{
    std::vector<LayoutAttribute> layout;
    layout.reserve(elements.size());
    std::uint32_t offsets[2] = {0, 0};
    std::string previous;
    std::uint32_t counter = 0;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const InputElement& element = elements[i];
        const FormatInfo info = GetFormatInfo(element.format);
        if (!info.vertexInput)
            return std::nullopt;
        LayoutAttribute attribute;
        attribute.semanticName = element.semanticName;
        attribute.location = static_cast<std::uint32_t>(i);
        attribute.slot = element.perInstance ? 1 : 0;
        if (element.perInstance) {
            counter = element.semanticName == previous ? counter + 1 : 0;
            attribute.semanticIndex = counter;
        }
        previous = element.semanticName;
        // Every vertex-input format is made of 32-bit components, so appending keeps alignment.
        switch (element.format) {
        case Format::R32_UINT:
        case Format::R32_SINT:
        case Format::R32_FLOAT: attribute.bytes = 4; break;
        case Format::R32G32_UINT:
        case Format::R32G32_SINT:
        case Format::R32G32_FLOAT: attribute.bytes = 8; break;
        case Format::R32G32B32_UINT:
        case Format::R32G32B32_SINT:
        case Format::R32G32B32_FLOAT: attribute.bytes = 12; break;
        default: attribute.bytes = 16; break;
        }
        attribute.offset = offsets[attribute.slot];
        offsets[attribute.slot] += attribute.bytes;
        attribute.format = element.format;
        attribute.dataFormat = info.format;
        attribute.kind = FormatKind(element.format);
        layout.push_back(std::move(attribute));
    }
    return layout;
}

std::uint32_t SamplerStateForName(const std::string& name)
{
    const std::size_t n = name.size();
    if (n >= 3 && name[n - 3] == '_' && name[n - 2] == 's' && name[n - 1] >= '0' && name[n - 1] <= '7')
        return static_cast<std::uint32_t>(name[n - 1] - '0');
    return 1;
}

} // namespace ZOR
