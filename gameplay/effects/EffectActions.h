#pragma once
// What the short-lived gameplay effects do with their entity's flow: tweens run on the entity's
// own ActionComponent, and the flow ends by destroying the entity.
namespace quellor {

class Action;
class ActionComponent;
class Entity;

class EffectActions {
public:
    // The entity's "ActionComponent", added with initialisation when it has none; null when
    // something else is held under that key.
    static ActionComponent* Of(Entity& owner);
    // An action that queues the entity for destruction when its lane reaches it; nothing when
    // the entity has gone by then.
    static Action* DestroyEntity(Entity& owner);
};

} // namespace quellor
