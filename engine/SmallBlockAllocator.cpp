#include "engine/SmallBlockAllocator.h"

#include "engine/BlockPool.h"

#include <cstdlib>

namespace quellor {

namespace {

struct SizeClasses {
    std::uint32_t sizes[SmallBlockAllocator::kClassCount];
    unsigned char lookup[SmallBlockAllocator::kMaxBlockSize + 1]; // size -> smallest class that fits

    SizeClasses()
    {
        std::size_t n = 0;
        for (std::uint32_t s = 4; s <= 96; s += 4)
            sizes[n++] = s;
        for (std::uint32_t s = 128; s <= 640; s += 32)
            sizes[n++] = s;
        for (std::uint32_t s = 704; s <= 1024; s += 64)
            sizes[n++] = s;
        std::size_t c = 0;
        for (std::size_t size = 0; size <= SmallBlockAllocator::kMaxBlockSize; ++size) {
            while (sizes[c] < size)
                ++c;
            lookup[size] = static_cast<unsigned char>(c);
        }
    }
};

const SizeClasses& Classes()
{
    static const SizeClasses classes;
    return classes;
}

} // namespace

SmallBlockAllocator::SmallBlockAllocator(std::uint32_t pageSize, std::uint32_t pageSource, std::uint32_t alignment)
    : m_pageSize(pageSize), m_pageSource(pageSource), m_alignment(alignment)
{
    Classes();
}

SmallBlockAllocator::~SmallBlockAllocator()
{
    DestroyPools();
}

void* SmallBlockAllocator::Allocate(std::size_t size)
{
    if (size > kMaxBlockSize)
        return std::malloc(size);
    const SizeClasses& classes = Classes();
    const unsigned c = classes.lookup[size];
    std::shared_ptr<BlockPool>& pool = m_pools[c];
    if (!pool)
        pool = std::make_shared<BlockPool>(classes.sizes[c], m_pageSize, m_pageSource, m_alignment);
    return pool->Allocate();
}

void SmallBlockAllocator::Free(void* block, std::size_t size)
{
    if (!block)
        return;
    if (size > kMaxBlockSize) {
        std::free(block);
        return;
    }
    // A class with no pool never handed this block out: the caller's size is wrong, and
    // pushing the block anywhere would corrupt a pool.
    if (const std::shared_ptr<BlockPool>& pool = m_pools[Classes().lookup[size]])
        pool->Free(block);
}

void SmallBlockAllocator::DestroyPools()
{
    for (std::shared_ptr<BlockPool>& pool : m_pools)
        pool.reset();
}

const BlockPool* SmallBlockAllocator::GetPool(std::size_t size) const
{
    if (size > kMaxBlockSize)
        return nullptr;
    return m_pools[Classes().lookup[size]].get();
}

} // namespace quellor
