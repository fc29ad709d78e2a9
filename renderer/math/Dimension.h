#pragma once
#include <cstdint>

namespace ZOR {

// A size in pixels.
struct Dimension {
    std::uint32_t width, height;

    constexpr Dimension() : width(0), height(0) {}
    constexpr Dimension(std::uint32_t width_, std::uint32_t height_) : width(width_), height(height_) {}
};

} // namespace ZOR
