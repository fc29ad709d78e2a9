#include "engine/BlockPool.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace quellor {

namespace {

constexpr std::uint32_t kHeapPages = 1;
constexpr unsigned char kHandedOut = 0xFD;
constexpr unsigned char kFreed = 0xFE;
constexpr unsigned char kGap = 0xFC;

void* ReadLink(const void* at)
{
    void* link;
    std::memcpy(&link, at, sizeof link);
    return link;
}

void WriteLink(void* at, void* link)
{
    std::memcpy(at, &link, sizeof link);
}

std::uint64_t RoundUp(std::uint64_t value, std::uint64_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

} // namespace

BlockPool::BlockPool(std::uint32_t blockSize, std::uint32_t pageSize, std::uint32_t pageSource, std::uint32_t alignment)
    : m_pageSource(pageSource), m_blockSize(blockSize), m_pageSize(pageSize)
{
    // Links are pointers: blocks hold at least one and sit on pointer boundaries.
    std::uint64_t align = std::max<std::uint64_t>(alignment, alignof(void*));
    std::uint64_t pow2 = 1;
    while (pow2 < align)
        pow2 <<= 1;
    m_alignment = static_cast<std::uint32_t>(std::min<std::uint64_t>(pow2, 1u << 30));

    const std::uint64_t base = std::max<std::uint64_t>(sizeof(void*), blockSize);
    const std::uint64_t gap = base % m_alignment == 0 ? 0 : m_alignment - base % m_alignment;
    const std::uint64_t stride = base + gap;
    const std::uint64_t first = RoundUp(sizeof(void*), m_alignment);
    m_gap = static_cast<std::uint32_t>(gap);
    m_stride = static_cast<std::uint32_t>(std::min<std::uint64_t>(stride, std::numeric_limits<std::uint32_t>::max()));
    m_firstBlock = static_cast<std::uint32_t>(std::min<std::uint64_t>(first, std::numeric_limits<std::uint32_t>::max()));
    // A page too small for its header and one block serves nothing rather than overrunning.
    m_blocksPerPage = pageSize >= first + stride ? static_cast<std::uint32_t>((pageSize - first) / stride) : 0;
}

BlockPool::~BlockPool()
{
    Release();
}

void BlockPool::Mark(unsigned char* block, unsigned char usable) const
{
    std::memset(block, usable, m_stride - m_gap);
    std::memset(block + (m_stride - m_gap), kGap, m_gap);
}

bool BlockPool::MakePage()
{
    // The general heap is the only page source; any other source has no pages to give.
    if (m_blocksPerPage == 0 || m_pageSource != kHeapPages)
        return false;
    // malloc's own alignment covers the common case.
    void* memory = m_alignment <= alignof(std::max_align_t)
                       ? std::malloc(m_pageSize)
                       : std::aligned_alloc(m_alignment, RoundUp(m_pageSize, m_alignment));
    if (!memory)
        return false;

    auto* page = static_cast<unsigned char*>(memory);
    WriteLink(page, m_pages);
    m_pages = page;
    ++m_pageCount;
    m_capacity += m_blocksPerPage;
    m_freeCount += m_blocksPerPage;

    // Thread the blocks in address order in front of the (empty) free list.
    unsigned char* first = page + m_firstBlock;
    for (std::uint32_t i = 0; i < m_blocksPerPage; ++i) {
        unsigned char* block = first + static_cast<std::size_t>(i) * m_stride;
        Mark(block, kFreed);
        WriteLink(block, i + 1 < m_blocksPerPage ? block + m_stride : m_freeList);
    }
    m_freeList = first;
    return true;
}

void* BlockPool::Allocate()
{
    if (!m_freeList && !MakePage())
        return nullptr;
    auto* block = static_cast<unsigned char*>(m_freeList);
    m_freeList = ReadLink(block);
    --m_freeCount;
    Mark(block, kHandedOut);
    return block;
}

void BlockPool::Free(void* pointer)
{
    if (!pointer)
        return;
    auto* block = static_cast<unsigned char*>(pointer);
    Mark(block, kFreed);
    WriteLink(block, m_freeList);
    m_freeList = block;
    ++m_freeCount;
}

void BlockPool::Release()
{
    void* page = m_pages;
    while (page) {
        void* next = ReadLink(page);
        std::free(page);
        page = next;
    }
    m_pages = nullptr;
    m_freeList = nullptr;
    m_pageCount = 0;
    m_capacity = 0;
    m_freeCount = 0;
}

} // namespace quellor
