#include "ai/pathfinding/IndexedHeap.h"

#include <utility>

namespace quellor {

void IndexedHeap::Reset(std::uint32_t idBound)
{
    // Every id below the bound can be in the heap at once, and slot 0 is unused.
    const std::size_t entries = static_cast<std::size_t>(idBound) + 1;
    m_recordById.assign(entries, nullptr);
    m_heap.assign(entries, 0);
    m_position.assign(entries, 0);
    m_size = 0;
    m_idBound = idBound;
}

void IndexedHeap::Push(NodeRecord* record)
{
    ++m_size;
    m_recordById[record->id] = record;
    m_heap[m_size] = record->id;
    m_position[record->id] = m_size;
    ReorderUpwards(m_size);
}

NodeRecord* IndexedHeap::Pop()
{
    if (m_size == 0)
        return nullptr;
    const std::uint32_t top = m_heap[1];
    Swap(1, m_size);
    --m_size;
    ReorderDownwards(1);
    return m_recordById[top];
}

void IndexedHeap::Rebind(std::unordered_map<std::uint32_t, NodeRecord>& records)
{
    for (auto& [id, record] : records)
        if (id < m_recordById.size())
            m_recordById[id] = &record;
}

std::vector<std::uint32_t> IndexedHeap::Ids() const
{
    return std::vector<std::uint32_t>(m_heap.begin() + 1, m_heap.begin() + 1 + m_size);
}

void IndexedHeap::Swap(std::uint32_t a, std::uint32_t b)
{
    std::swap(m_heap[a], m_heap[b]);
    m_position[m_heap[a]] = a;
    m_position[m_heap[b]] = b;
}

void IndexedHeap::ReorderUpwards(std::uint32_t slot)
{
    while (slot > 1 && F(slot / 2) > F(slot)) {
        Swap(slot / 2, slot);
        slot /= 2;
    }
}

void IndexedHeap::ReorderDownwards(std::uint32_t slot)
{
    while (2 * slot <= m_size) {
        std::uint32_t child = 2 * slot;
        if (child < m_size && F(child + 1) < F(child))
            ++child;
        if (!(F(slot) > F(child)))
            break;
        Swap(slot, child);
        slot = child;
    }
}

} // namespace quellor
