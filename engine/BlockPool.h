#pragma once
#include <cstdint>

namespace quellor {

// Hands out fixed-size blocks from pages taken from the heap. Freed blocks go onto a free list
// and are reused last-freed first; pages go back only on Release. Blocks read 0xFD when handed
// out and 0xFE once freed (the gap after each block reads 0xFC), so use of uninitialised or
// freed memory shows. Not thread-safe.
//
// Page layout: a pointer-sized link to the next page, padding up to the alignment, then
// blocks-per-page blocks of stride bytes. A free block's first pointer-sized word links to the
// next free block, so blocks are at least pointer-sized and pointer-aligned.
class BlockPool {
public:
    // pageSource 1 takes pages from the general heap; it is the only source and every pool
    // uses it (a pool given another source hands out nothing). The alignment is raised to at
    // least alignof(void*) and to a power of two.
    BlockPool(std::uint32_t blockSize, std::uint32_t pageSize, std::uint32_t pageSource, std::uint32_t alignment);
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    // One block, or null when no page can be had or a page cannot hold one block.
    void* Allocate();
    // Gives a block of this pool back; null is ignored.
    void Free(void* block);
    // Frees every page; all blocks handed out become invalid.
    void Release();

    std::uint32_t GetBlockSize() const { return m_blockSize; }
    std::uint32_t GetPageSize() const { return m_pageSize; }
    std::uint32_t GetAlignment() const { return m_alignment; }
    std::uint32_t GetGap() const { return m_gap; }
    std::uint32_t GetStride() const { return m_stride; }
    std::uint32_t GetBlocksPerPage() const { return m_blocksPerPage; }
    std::uint32_t GetPageCount() const { return m_pageCount; }
    std::uint32_t GetCapacity() const { return m_capacity; }
    std::uint32_t GetFreeCount() const { return m_freeCount; }

private:
    bool MakePage();
    void Mark(unsigned char* block, unsigned char usable) const;

    std::uint32_t m_pageSource;
    void* m_pages = nullptr;
    void* m_freeList = nullptr;
    std::uint32_t m_blockSize;
    std::uint32_t m_pageSize;
    std::uint32_t m_gap = 0;
    std::uint32_t m_stride = 0;
    std::uint32_t m_blocksPerPage = 0;
    std::uint32_t m_pageCount = 0;
    std::uint32_t m_capacity = 0;
    std::uint32_t m_freeCount = 0;
    std::uint32_t m_alignment;
    std::uint32_t m_firstBlock = 0; // offset of block 0 within a page
};

} // namespace quellor
