#pragma once
// The one definition of a usable convex piece of a collision shape. The shape loader, the mesh
// collider (after scaling) and the shape tool all ask it, so a piece is accepted or refused for
// the same reason everywhere.
#include "renderer/math/float3.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quellor {

// A piece with more vertices than this is refused: the checks below and the hull's support
// search grow with the vertex count, and collision pieces are small.
constexpr std::size_t kMaxShapePieceVertices = 1024;
// Coordinates beyond this (in the body's frame) are refused: the collision and mass code work
// in floats, and products of such coordinates overflow.
constexpr float kMaxShapeCoordinate = 1e6f;
// Distances below this fraction of a piece's size (its bounding-box diagonal) count as zero:
// for coincident vertices and for vertices in front of a face.
constexpr double kShapePieceTolerance = 1e-4;
// Volumes below this fraction of the cube of the size count as zero.
constexpr double kShapePieceMinVolume = 1e-6;

struct ShapePieceCheck3D {
    bool valid = false;
    std::string reason; // why the piece was refused; empty when valid
    double volume = 0.0;
};

// A valid piece has at least 4 vertices (at most kMaxShapePieceVertices), all finite, every
// one used, within kMaxShapeCoordinate of the origin and no two at one position; at least 4 triangles given as whole triples of indices
// below the vertex count, none repeating a vertex; a closed, consistently oriented surface
// (every directed edge used once, and its reverse once); counter-clockwise seen from outside;
// convex within the tolerance; and a volume that is not zero.
ShapePieceCheck3D CheckShapePiece3D(const std::vector<ZOR::float3>& vertices,
                                    const std::vector<std::uint32_t>& indices);

} // namespace quellor
