#include "renderer/dx11/DeviceRules.h"

namespace ZOR {

std::vector<std::size_t> KeepDisplayModes(const std::vector<DisplayMode>& offered)
{
    std::vector<std::size_t> kept;
    std::size_t i = 0;
    while (i < offered.size()) {
        const Dimension& size = offered[i].resolution;
        if (size.width < 800 && size.height < 600) {
            ++i;
            continue;
        }
        std::size_t last = i;
        while (last + 1 < offered.size() && offered[last + 1].resolution.width == size.width
               && offered[last + 1].resolution.height == size.height)
            ++last;
        kept.push_back(last);
        i = last + 1;
    }
    if (kept.empty() && !offered.empty())
        kept.push_back(offered.size() - 1);
    return kept;
}

DisplayModeChoice ChooseDisplayMode(const std::vector<DisplayMode>& kept, const Dimension& configured)
{
    DisplayModeChoice choice;
    if (kept.empty())
        return choice;
    choice.index = static_cast<std::uint32_t>(kept.size() - 1);
    if (configured.width == 0 || configured.height == 0) {
        choice.saveResolution = true;
        return choice;
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (kept[i].resolution.width == configured.width && kept[i].resolution.height == configured.height) {
            choice.index = static_cast<std::uint32_t>(i);
            break;
        }
    }
    return choice;
}

std::uint32_t MaxAnisotropy(Anisotropy anisotropy)
{
    const auto index = static_cast<std::uint32_t>(anisotropy);
    return index < kAnisotropyLevels.size() ? kAnisotropyLevels[index] : 1;
}

float4x4 PixelTransform(const Viewport& viewport)
{
    const float w = static_cast<float>(viewport.size.width);
    const float h = static_cast<float>(viewport.size.height);
    const float x = static_cast<float>(viewport.x);
    const float y = static_cast<float>(viewport.y);
    return float4x4(w / 2.0f, 0.0f, 0.0f, x + w / 2.0f,
                    0.0f, -h / 2.0f, 0.0f, y + h / 2.0f,
                    0.0f, 0.0f, 1.0f, 0.0f,
                    0.0f, 0.0f, 0.0f, 1.0f);
}

std::string GraphicsCardDescription(const std::string& renderer, std::uint32_t videoMemoryMiB)
{
    return renderer.substr(0, 128) + " " + std::to_string(videoMemoryMiB) + "MB";
}

} // namespace ZOR
