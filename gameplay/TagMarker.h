#pragma once
// What the lift beam's tagging asks of a tag marker: the billboard over a player that shows
// whom a player's team has tagged. The tag marker component implements it; the beam finds it
// on a marker entity through TagMarker::Of.
#include <string>

namespace quellor {

class Entity;

class TagMarker {
public:
    // The component key the marker is held under on its entity.
    inline static const std::string kComponentKey{"TagComponent"};

    virtual ~TagMarker() = default;

    // A hide has started and not finished.
    virtual bool IsHiding() const = 0;
    // Forgets a started hide (the marker counts as settled).
    virtual void ClearHiding() = 0;
    virtual Entity* GetTarget() const = 0;
    virtual void SetTarget(Entity* target) = 0;
    virtual bool IsShown() const = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;

    // The marker held under kComponentKey by the entity; null without an entity, without such
    // a component, or when that component is not a marker.
    static TagMarker* Of(const Entity* marker);
};

} // namespace quellor
