#include "engine/EntityRef.h"

#include "engine/Entity.h"

#include <vector>

namespace quellor {

namespace {

struct Slot {
    Entity* entity = nullptr;
    std::uint32_t generation = 0;
};

struct SlotTable {
    std::vector<Slot> slots;
    std::vector<std::uint32_t> free;
};

// Never destroyed, so that entities outliving static destruction still find it.
SlotTable& Table()
{
    static SlotTable* table = new SlotTable;
    return *table;
}

constexpr std::uint32_t kLastGeneration = 0xffffffffu;

} // namespace

EntityRef::EntityRef(Entity* entity)
{
    if (!entity || entity->m_refSlot == kNoSlot)
        return;
    m_slot = entity->m_refSlot;
    m_generation = Table().slots[m_slot].generation;
}

Entity* EntityRef::Get() const
{
    if (m_slot == kNoSlot)
        return nullptr;
    const Slot& slot = Table().slots[m_slot];
    return slot.generation == m_generation ? slot.entity : nullptr;
}

std::uint32_t EntityRef::Register(Entity* entity)
{
    SlotTable& table = Table();
    std::uint32_t index;
    if (!table.free.empty()) {
        index = table.free.back();
        table.free.pop_back();
    } else {
        index = static_cast<std::uint32_t>(table.slots.size());
        table.slots.push_back(Slot{});
    }
    table.slots[index].entity = entity;
    return index;
}

void EntityRef::Retire(Entity* entity)
{
    if (entity->m_refSlot == kNoSlot)
        return;
    SlotTable& table = Table();
    Slot& slot = table.slots[entity->m_refSlot];
    slot.entity = nullptr;
    ++slot.generation;
    // A slot whose generation has run out is never reused, so no old reference can match again.
    if (slot.generation != kLastGeneration)
        table.free.push_back(entity->m_refSlot);
    entity->m_refSlot = kNoSlot;
}

} // namespace quellor
