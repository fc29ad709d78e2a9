#pragma once
// Small helpers for the entities the screens hold by reference: the 3D props of the menu level
// that they restyle and the overlays they build. Each takes a reference that may have gone (or
// never been found: the frame has already warned about it) and does nothing then.
#include "engine/Entity.h"
#include "engine/EntityRef.h"

#include <string>

namespace quellor {

class ActionList;
class GraphicsComponent2D;
class Transform3D;

GraphicsComponent2D* SpriteOf(const EntityRef& ref);

// Sets the material (or the model) of the entity's GraphicsComponent3D, when it has one.
void SetPropMaterial(const EntityRef& ref, const std::string& material);
void SetPropModel(const EntityRef& ref, const std::string& model);
// Sets all three scale factors of the entity's Transform3D.
void SetPropScale(const EntityRef& ref, float scale);

// A check mark folding out to `scale` (x and z at once, then y tweened) or away to 0 (y
// tweened, then x and z), over seconds with the easing; null without the check mark's transform.
ActionList* MakeCheckMarkFlow(const EntityRef& check, bool shown, float scale, float seconds, int easing);

} // namespace quellor
