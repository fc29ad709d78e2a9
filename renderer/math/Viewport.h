#pragma once
#include "renderer/math/Dimension.h"
#include "renderer/math/float4x4.h"

#include <cstdint>

namespace ZOR {

// A screen rectangle: top-left corner in pixels, size, depth range and a matrix that the
// render system fills (identity until then).
struct Viewport {
    std::int32_t x, y;
    Dimension size;
    float minDepth, maxDepth;
    float4x4 matrix;

    constexpr Viewport() : x(0), y(0), size(), minDepth(0.0f), maxDepth(1.0f), matrix() {}
    constexpr Viewport(std::int32_t x_, std::int32_t y_, const Dimension& size_, float minDepth_,
                       float maxDepth_)
        : x(x_), y(y_), size(size_), minDepth(minDepth_), maxDepth(maxDepth_), matrix()
    {
    }

    // Rewrites the rectangle and depth range; the matrix is left alone.
    void Set(std::int32_t x_, std::int32_t y_, const Dimension& size_, float minDepth_, float maxDepth_)
    {
        x = x_;
        y = y_;
        size = size_;
        minDepth = minDepth_;
        maxDepth = maxDepth_;
    }
};

} // namespace ZOR
