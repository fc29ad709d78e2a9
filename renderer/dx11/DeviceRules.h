#pragma once
// The rules the back end applies when it sets up the device, kept apart from the GPU so that
// they can be checked on their own: which display modes are offered, which one starts, which
// and the fixed conversions of the settings.
#include "renderer/dx11/DisplaySettings.h"
#include "renderer/dx11/RenderContext.h"
#include "renderer/math/float4x4.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ZOR {

// Of the offered modes (ascending by width, height and refresh rate), the positions of those
// kept: a mode is dropped only when it is both narrower than 800 and lower than 600, and of a
// run of modes of one size only the last (highest refresh rate) is kept. When nothing passes, the
// last (largest) offered mode is kept, so that a small display still has a mode.
std::vector<std::size_t> KeepDisplayModes(const std::vector<DisplayMode>& offered);

struct DisplayModeChoice {
    std::uint32_t index = 0;
    bool saveResolution = false; // the configured size was empty: store the chosen one
};
// The mode to start in: the first kept mode of the configured size, else the last kept mode. An
// empty configured size takes the last mode and asks for it to be saved. kept must not be empty.
DisplayModeChoice ChooseDisplayMode(const std::vector<DisplayMode>& kept, const Dimension& configured);

// 1, 2, 4, 8 or 16; any other setting gives 1.
std::uint32_t MaxAnisotropy(Anisotropy anisotropy);

// Maps clip space onto the viewport's pixels: rows (w/2, 0, 0, x + w/2), (0, -h/2, 0, y + h/2),
// (0, 0, 1, 0), (0, 0, 0, 1).
float4x4 PixelTransform(const Viewport& viewport);

// "<renderer, at most 128 characters> <MiB>MB".
std::string GraphicsCardDescription(const std::string& renderer, std::uint32_t videoMemoryMiB);

} // namespace ZOR
