#pragma once
// A weak reference to an entity. Get() returns the entity while it exists, also while it is
// queued for destruction, and null from the moment the end-of-frame pass starts tearing it
// down, for ever: entities are deleted at the end of a frame, and whatever entity later takes
// the same address or name is never mistaken for it. Copyable, O(1), allocates nothing.
#include <cstdint>

namespace quellor {

class Entity;

class EntityRef {
public:
    EntityRef() = default;
    EntityRef(Entity* entity);

    Entity* Get() const;
    void Reset() { *this = EntityRef(); }

    bool operator==(const EntityRef& other) const = default;

private:
    friend class Entity;
    friend class Engine;

    // The process-wide slot table: each live entity holds one slot; a slot's generation
    // changes when its entity is retired, which voids every reference made before.
    static std::uint32_t Register(Entity* entity);
    static void Retire(Entity* entity);

    static constexpr std::uint32_t kNoSlot = 0xffffffffu;
    std::uint32_t m_slot = kNoSlot;
    std::uint32_t m_generation = 0;
};

} // namespace quellor
