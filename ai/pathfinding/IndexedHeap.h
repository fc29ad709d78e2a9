#pragma once
// The open list of an A* search: a binary min-heap on f of node ids, 1-based, with each id's
// slot kept by id so that a decrease-key is a sift-up without a search. Ids index the vectors
// directly, so an id must lie below the bound given to Reset.
#include "ai/pathfinding/NodeRecord.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace quellor {

class IndexedHeap {
public:
    // Empties the heap and sizes it for ids below idBound.
    void Reset(std::uint32_t idBound);
    // Whether id may enter the heap.
    bool Covers(std::uint32_t id) const { return id < m_idBound; }

    std::uint32_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }

    // Adds a record whose id is covered and not in the heap yet.
    void Push(NodeRecord* record);
    // Takes the record of least f out; null when empty.
    NodeRecord* Pop();
    // Moves an id in the heap up after its f went down.
    void DecreaseKey(std::uint32_t id) { ReorderUpwards(m_position[id]); }

    // Points the heap at another copy of the records it was built over (after copying a search).
    void Rebind(std::unordered_map<std::uint32_t, NodeRecord>& records);

    // The ids in heap order, slot 1 first (test hook).
    std::vector<std::uint32_t> Ids() const;

private:
    float F(std::uint32_t slot) const { return m_recordById[m_heap[slot]]->f; }
    void Swap(std::uint32_t a, std::uint32_t b);
    // Moves the id at slot up while its parent's f is strictly greater.
    void ReorderUpwards(std::uint32_t slot);
    // Moves the id at slot down while a child's f is strictly smaller; the left child wins ties.
    void ReorderDownwards(std::uint32_t slot);

    std::vector<NodeRecord*> m_recordById;
    std::vector<std::uint32_t> m_heap; // slot 0 holds nothing
    std::vector<std::uint32_t> m_position;
    std::uint32_t m_size = 0;
    std::uint32_t m_idBound = 0;
};

} // namespace quellor
