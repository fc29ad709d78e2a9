#include "engine/BlockPool.h"
#include "engine/SmallBlockAllocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <vector>

namespace quellor {
namespace {

std::uintptr_t Address(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

TEST(BlockPool, LayoutHoldsPointerLinksAndAlignedBlocks)
{
    struct Case {
        std::uint32_t blockSize, alignment, stride, gap, blocksPerPage;
    };
    const Case cases[] = {
        {20, 4, 24, 4, 170},   // alignment raised to a pointer's
        {20, 16, 32, 12, 127}, // first block after a 16-byte header
        {424, 4, 424, 0, 9},
        {1, 4, 8, 0, 511},     // a free block must hold its link
        {4, 4, 8, 0, 511},
        {1024, 4, 1024, 0, 3},
    };
    for (const Case& c : cases) {
        const BlockPool pool(c.blockSize, 4096, 1, c.alignment);
        EXPECT_EQ(pool.GetStride(), c.stride) << c.blockSize << "/" << c.alignment;
        EXPECT_EQ(pool.GetGap(), c.gap) << c.blockSize << "/" << c.alignment;
        EXPECT_EQ(pool.GetBlocksPerPage(), c.blocksPerPage) << c.blockSize << "/" << c.alignment;
        EXPECT_EQ(pool.GetPageCount(), 0u);
        EXPECT_EQ(pool.GetCapacity(), 0u);
    }
}

TEST(BlockPool, MarkerBytesWhenHandedOutAndWhenFreed)
{
    BlockPool pool(20, 4096, 1, 4);
    auto* block = static_cast<unsigned char*>(pool.Allocate());
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(block[i], 0xFD) << "byte " << i;
    for (int i = 20; i < 24; ++i)
        EXPECT_EQ(block[i], 0xFC) << "gap byte " << i;

    std::memset(block, 0x11, 20);
    pool.Free(block);
    // The first pointer-sized word now links to the next free block.
    for (std::size_t i = sizeof(void*); i < 20; ++i)
        EXPECT_EQ(block[i], 0xFE) << "byte " << i;
    for (int i = 20; i < 24; ++i)
        EXPECT_EQ(block[i], 0xFC) << "gap byte " << i;

    // A never-used neighbour in the fresh page was marked freed when the page was made.
    auto* neighbour = block + pool.GetStride();
    for (std::size_t i = sizeof(void*); i < 20; ++i)
        EXPECT_EQ(neighbour[i], 0xFE) << "byte " << i;
}

TEST(BlockPool, PageFillsInAddressOrderAndTheNextBlockMakesASecondPage)
{
    BlockPool pool(20, 4096, 1, 4);
    std::vector<unsigned char*> blocks;
    for (int i = 0; i < 170; ++i)
        blocks.push_back(static_cast<unsigned char*>(pool.Allocate()));
    EXPECT_EQ(pool.GetPageCount(), 1u);
    EXPECT_EQ(pool.GetCapacity(), 170u);
    EXPECT_EQ(pool.GetFreeCount(), 0u);
    for (std::size_t i = 1; i < blocks.size(); ++i)
        ASSERT_EQ(blocks[i], blocks[i - 1] + 24) << "block " << i;

    void* extra = pool.Allocate();
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(pool.GetPageCount(), 2u);
    EXPECT_EQ(pool.GetCapacity(), 340u);
    EXPECT_EQ(pool.GetFreeCount(), 169u);
    EXPECT_TRUE(Address(extra) < Address(blocks.front()) || Address(extra) >= Address(blocks.back()) + 24);

    pool.Release();
    EXPECT_EQ(pool.GetPageCount(), 0u);
    EXPECT_EQ(pool.GetCapacity(), 0u);
    EXPECT_EQ(pool.GetFreeCount(), 0u);
    EXPECT_NE(pool.Allocate(), nullptr);
    EXPECT_EQ(pool.GetPageCount(), 1u);
}

TEST(BlockPool, FreedBlocksComeBackLastFreedFirst)
{
    BlockPool pool(64, 4096, 1, 8);
    void* a = pool.Allocate();
    void* b = pool.Allocate();
    void* c = pool.Allocate();
    pool.Free(b);
    EXPECT_EQ(pool.Allocate(), b);
    pool.Free(a);
    pool.Free(c);
    EXPECT_EQ(pool.GetFreeCount(), pool.GetCapacity() - 1);
    EXPECT_EQ(pool.Allocate(), c);
    EXPECT_EQ(pool.Allocate(), a);
    pool.Free(nullptr);
    EXPECT_EQ(pool.GetFreeCount(), pool.GetCapacity() - 3);
}

TEST(BlockPool, EveryBlockIsAlignedToItsPoolAcrossPages)
{
    const std::uint32_t alignments[] = {4, 8, 16, 32, 64, 128};
    const std::uint32_t sizes[] = {1, 12, 20, 40, 100, 424};
    for (std::uint32_t alignment : alignments) {
        for (std::uint32_t size : sizes) {
            BlockPool pool(size, 4096, 1, alignment);
            const std::uint32_t effective = alignment < alignof(void*) ? alignof(void*) : alignment;
            EXPECT_EQ(pool.GetAlignment(), effective);
            const std::uint32_t count = pool.GetBlocksPerPage() * 3 + 1;
            for (std::uint32_t i = 0; i < count; ++i) {
                void* p = pool.Allocate();
                ASSERT_NE(p, nullptr);
                ASSERT_EQ(Address(p) % effective, 0u) << "size " << size << " alignment " << alignment << " block " << i;
                std::memset(p, 0x5A, size);
            }
            EXPECT_EQ(pool.GetPageCount(), 4u);
        }
    }
    // An alignment that is not a power of two is raised to the next one.
    EXPECT_EQ(BlockPool(8, 4096, 1, 24).GetAlignment(), 32u);
}

TEST(BlockPool, NoPageToHaveGivesNull)
{
    // A page that cannot hold its header and one block.
    BlockPool tiny(100, 64, 1, 4);
    EXPECT_EQ(tiny.GetBlocksPerPage(), 0u);
    EXPECT_EQ(tiny.Allocate(), nullptr);
    EXPECT_EQ(tiny.GetPageCount(), 0u);
    BlockPool empty(4, 0, 1, 4);
    EXPECT_EQ(empty.Allocate(), nullptr);
    BlockPool huge(0xFFFFFFFFu, 4096, 1, 4);
    EXPECT_EQ(huge.Allocate(), nullptr);

    // A page source that has no pages to give.
    BlockPool sourceless(20, 4096, 0, 4);
    EXPECT_EQ(sourceless.Allocate(), nullptr);
    EXPECT_EQ(sourceless.GetPageCount(), 0u);
    EXPECT_EQ(sourceless.GetFreeCount(), 0u);
}

TEST(SmallBlockAllocator, SizesMapToTheSmallestClassThatFits)
{
    SmallBlockAllocator allocator(4096, 1, 4);
    struct Case {
        std::size_t size, classSize;
    };
    const Case cases[] = {{0, 4}, {1, 4}, {4, 4}, {5, 8}, {96, 96}, {97, 128}, {640, 640},
                          {641, 704}, {1000, 1024}, {1024, 1024}};
    for (const Case& c : cases) {
        void* p = allocator.Allocate(c.size);
        ASSERT_NE(p, nullptr);
        const BlockPool* pool = allocator.GetPool(c.size);
        ASSERT_NE(pool, nullptr) << c.size;
        EXPECT_EQ(pool->GetBlockSize(), c.classSize) << c.size;
    }
    // 1 and 4 share the 4-byte pool: two blocks out of it (and 0 took a third).
    EXPECT_EQ(allocator.GetPool(1), allocator.GetPool(4));
    EXPECT_EQ(allocator.GetPool(4)->GetCapacity() - allocator.GetPool(4)->GetFreeCount(), 3u);
    EXPECT_NE(allocator.GetPool(4), allocator.GetPool(5));

    // Every size up to the limit lands in a class at least that big and less than one step over.
    for (std::size_t size = 1; size <= 1024; ++size) {
        allocator.Free(allocator.Allocate(size), size);
        const std::uint32_t classSize = allocator.GetPool(size)->GetBlockSize();
        const std::size_t step = size <= 96 ? 4 : size <= 640 ? 32 : 64;
        ASSERT_GE(classSize, size);
        ASSERT_LT(classSize, size + step) << size;
    }
}

TEST(SmallBlockAllocator, LargeRequestsGoToTheHeap)
{
    SmallBlockAllocator allocator(4096, 1, 4);
    void* small = allocator.Allocate(1024);
    const std::uint32_t freeBefore = allocator.GetPool(1024)->GetFreeCount();
    auto* large = static_cast<unsigned char*>(allocator.Allocate(1025));
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(allocator.GetPool(1025), nullptr);
    EXPECT_EQ(allocator.GetPool(1024)->GetFreeCount(), freeBefore);
    std::memset(large, 0x33, 1025); // the whole request is usable (ASan checks the bounds)
    allocator.Free(large, 1025);    // a mismatched free() would be reported by ASan
    allocator.Free(small, 1024);
    EXPECT_EQ(allocator.GetPool(1024)->GetFreeCount(), freeBefore + 1);
}

TEST(SmallBlockAllocator, FreeReusesTheSameAddressAndIgnoresNullAndUnknownClasses)
{
    SmallBlockAllocator allocator(4096, 1, 4);
    void* p = allocator.Allocate(48);
    allocator.Free(p, 48);
    EXPECT_EQ(allocator.Allocate(45), p); // same class, last freed first
    allocator.Free(nullptr, 48);
    allocator.Free(nullptr, 5000);
    const std::uint32_t freeCount = allocator.GetPool(48)->GetFreeCount();
    int stack = 0;
    allocator.Free(&stack, 300); // no pool of that class exists: left alone
    EXPECT_EQ(allocator.GetPool(300), nullptr);
    EXPECT_EQ(allocator.GetPool(48)->GetFreeCount(), freeCount);
}

TEST(SmallBlockAllocator, CopiesSharePoolsThatOutliveTheOriginal)
{
    auto original = std::make_unique<SmallBlockAllocator>(4096, 1, 16);
    void* first = original->Allocate(100);
    SmallBlockAllocator copy = *original;
    EXPECT_EQ(copy.GetPool(100), original->GetPool(100));
    void* second = copy.Allocate(100);
    EXPECT_EQ(Address(second) % 16, 0u);
    original.reset();
    // The pool still lives through the copy: its blocks stay usable and go back to it.
    std::memset(first, 1, 100);
    copy.Free(first, 100);
    copy.Free(second, 100);
    EXPECT_EQ(copy.GetPool(100)->GetFreeCount(), copy.GetPool(100)->GetCapacity());
    copy.DestroyPools();
    EXPECT_EQ(copy.GetPool(100), nullptr);
}

TEST(SmallBlockAllocator, PoolsWithoutPagesGiveNull)
{
    SmallBlockAllocator allocator(4096, 0, 4);
    EXPECT_EQ(allocator.Allocate(16), nullptr);
    void* large = allocator.Allocate(2000); // the heap still serves large requests
    EXPECT_NE(large, nullptr);
    allocator.Free(large, 2000);
}

TEST(SmallBlockAllocator, RandomMixedSizesKeepTheirContents)
{
    SmallBlockAllocator allocator(4096, 1, 4);
    struct Live {
        unsigned char* p;
        std::size_t size;
        unsigned char fill;
    };
    std::vector<Live> live;
    std::set<unsigned char*> addresses;
    std::mt19937 rng(99);
    std::uniform_int_distribution<std::size_t> sizeOf(0, 1300);
    const auto check = [](const Live& l) {
        for (std::size_t i = 0; i < l.size; ++i)
            if (l.p[i] != l.fill)
                return false;
        return true;
    };
    for (int step = 0; step < 20000; ++step) {
        if (live.empty() || rng() % 5 < 3) {
            Live l{nullptr, sizeOf(rng), static_cast<unsigned char>(rng())};
            l.p = static_cast<unsigned char*>(allocator.Allocate(l.size));
            ASSERT_NE(l.p, nullptr);
            ASSERT_TRUE(addresses.insert(l.p).second) << "block handed out twice";
            std::memset(l.p, l.fill, l.size);
            live.push_back(l);
        } else {
            const std::size_t i = rng() % live.size();
            ASSERT_TRUE(check(live[i])) << "block of " << live[i].size << " bytes was overwritten";
            addresses.erase(live[i].p);
            allocator.Free(live[i].p, live[i].size);
            live[i] = live.back();
            live.pop_back();
        }
    }
    for (const Live& l : live) {
        ASSERT_TRUE(check(l)) << "block of " << l.size << " bytes was overwritten";
        allocator.Free(l.p, l.size);
    }
}

} // namespace
} // namespace quellor
