#pragma once
// How graphics components find their peers: the transform of their own entity, and the
// graphics and game-logic systems of their own space.
#include <string>

namespace quellor {

class GraphicsSystem;
class QLObject;
class System;
class Transform2D;
class Transform3D;

// The entity's "Transform3D" / "Transform2D", or null when the object has no entity or the
// entity has none.
Transform3D* FindTransform3D(const QLObject& object);
Transform2D* FindTransform2D(const QLObject& object);

// The space's "GraphicsSystem"; null with a warning naming `who` when there is none.
GraphicsSystem* FindGraphicsSystem(const QLObject& object, const char* who);

} // namespace quellor
