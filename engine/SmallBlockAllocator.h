#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace quellor {

class BlockPool;

// Serves any size up to 1024 bytes from one BlockPool per size class (4..96 in steps of 4,
// 128..640 in steps of 32, 704..1024 in steps of 64) and larger requests from the heap. Pools
// are made on first use of their class. Copies share their pools; a pool goes when the last
// allocator holding it does. Not thread-safe.
class SmallBlockAllocator {
public:
    static constexpr std::size_t kClassCount = 47;
    static constexpr std::size_t kMaxBlockSize = 1024;

    SmallBlockAllocator(std::uint32_t pageSize, std::uint32_t pageSource, std::uint32_t alignment);
    ~SmallBlockAllocator();
    SmallBlockAllocator(const SmallBlockAllocator&) = default;
    SmallBlockAllocator& operator=(const SmallBlockAllocator&) = default;

    // A block of at least size bytes, or null when the heap is exhausted.
    void* Allocate(std::size_t size);
    // size must be the size the block was allocated with; null is ignored.
    void Free(void* block, std::size_t size);
    // Drops this allocator's hold on every pool.
    void DestroyPools();

    // The pool that serves size, or null when it has none yet or size goes to the heap.
    const BlockPool* GetPool(std::size_t size) const;

private:
    std::uint32_t m_pageSize;
    std::uint32_t m_pageSource;
    std::uint32_t m_alignment;
    std::array<std::shared_ptr<BlockPool>, kClassCount> m_pools;
};

} // namespace quellor
