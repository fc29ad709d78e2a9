#pragma once
// Convex pieces for shape files. Every piece is closed, its triangles counter-clockwise seen
// from outside, every vertex used once.
#include "renderer/math/float3.h"
#include "renderer/math/float3x3.h"
#include "tools/writers/ShapeWriter.h"

#include <vector>

namespace tarsel::tools {

// An axis-aligned box: 8 vertices, 12 triangles.
ShapePiece BoxPiece(const ZOR::float3& center, const ZOR::float3& halfExtents);

// A box turned by rotation (row-major, acting on column vectors) about its centre.
ShapePiece OrientedBoxPiece(const ZOR::float3& center, const ZOR::float3& halfExtents,
                            const ZOR::float3x3& rotation);

// A ramp inside the box at center with the given half extents: its floor is the box's bottom,
// its high wall the box's +x side, and its slope rises from the bottom -x edge to the top +x
// edge. 6 vertices, 8 triangles.
ShapePiece WedgePiece(const ZOR::float3& center, const ZOR::float3& halfExtents);

// An upright prism with a regular polygon of `sides` corners (at least 3) of the given radius
// as its caps, at center with its caps halfHeight above and below.
ShapePiece PrismPiece(const ZOR::float3& center, float radius, float halfHeight, unsigned sides);

// The rotation by angle radians about +y.
ZOR::float3x3 RotationY(float angle);

} // namespace tarsel::tools
