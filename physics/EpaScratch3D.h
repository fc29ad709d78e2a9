#pragma once
#include "physics/EpaHorizon3D.h"
#include "renderer/math/float3.h"

#include <cstdint>
#include <vector>

namespace quellor {

// The expanding polytope's working lists. One world owns one of these and hands it to every
// narrow-phase call, so the storage is reused and grows only when a polytope outgrows every
// earlier one. Each call empties the lists first.
struct EpaScratch3D {
    struct Vertex {
        ZOR::float3 w;  // Minkowski point
        ZOR::float3 sa; // support point on A
        ZOR::float3 sb; // support point on B
    };
    struct Face {
        std::uint32_t v[3];
        float distance; // from the origin to the nearest point of the triangle
        ZOR::float3 nearest;
        std::uint8_t valid;
    };
    std::vector<Vertex> vertices;
    std::vector<Face> faces; // a min-heap on the distance
    EpaHorizon3D horizon;
};

} // namespace quellor
