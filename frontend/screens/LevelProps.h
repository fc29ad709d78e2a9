#pragma once
// Small helpers for the 3D props of the menu level that the screens restyle: each takes a
// possibly missing entity (the frame has already warned about it) and does nothing then.
#include <string>

namespace quellor {

class ActionList;
class Entity;
class Transform3D;

// The entity's Transform3D, or null.
Transform3D* PropTransform(Entity* entity);
// Sets the material (or the model) of the entity's GraphicsComponent3D, when it has one.
void SetPropMaterial(Entity* entity, const std::string& material);
void SetPropModel(Entity* entity, const std::string& model);
// Sets all three scale factors of the entity's Transform3D.
void SetPropScale(Entity* entity, float scale);

// A check mark folding out to `scale` (x and z at once, then y tweened) or away to 0 (y
// tweened, then x and z), over seconds with the easing; null without the check mark's transform.
ActionList* MakeCheckMarkFlow(Entity* check, bool shown, float scale, float seconds, int easing);

} // namespace quellor
