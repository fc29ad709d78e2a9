#pragma once
// Turns a loaded shape into a mesh collider description under an entity's scale.
#include "physics/ColliderDescription3D.h"
#include "physics/ShapeData3D.h"
#include "renderer/math/float3.h"

#include <string>

namespace quellor {

// Every piece is scaled per axis. When the product of the scale's signs is not positive (a
// mirroring, or a zero), each index list is read in reverse so that the triangles still run
// counter-clockwise seen from outside; indices after the last whole triangle are left out
// first, so that reversing does not shift the triangles. A scaled piece that no longer passes
// CheckShapePiece3D (a zero scale flattens it) is dropped with a warning naming `name`.
ColliderDescription3D BuildShapeColliderDescription3D(const ShapeData3D& shape, const ZOR::float3& scale,
                                                      const std::string& name);

} // namespace quellor
