// Block pools against glibc malloc/free: allocate+free pairs per second for 20-, 64- and
// 424-byte blocks. "Pair" frees each block at once (the hot path of a free list); "Batch"
// keeps 256 blocks live and frees them in a scrambled order, as physics records come and go.
#include "engine/BlockPool.h"
#include "engine/SmallBlockAllocator.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>

namespace {

constexpr int kBatch = 256;

// A fixed scramble of 0..255 (multiplying by an odd number permutes residues mod 256).
std::array<int, kBatch> FreeOrder()
{
    std::array<int, kBatch> order{};
    for (int i = 0; i < kBatch; ++i)
        order[i] = (i * 167 + 13) % kBatch;
    return order;
}

void PoolPair(benchmark::State& state)
{
    quellor::BlockPool pool(static_cast<std::uint32_t>(state.range(0)), 4096, 1, 4);
    for (auto _ : state) {
        void* p = pool.Allocate();
        benchmark::DoNotOptimize(p);
        pool.Free(p);
    }
    state.SetItemsProcessed(state.iterations());
}

void SmallBlockPair(benchmark::State& state)
{
    quellor::SmallBlockAllocator allocator(4096, 1, 4);
    const auto size = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        void* p = allocator.Allocate(size);
        benchmark::DoNotOptimize(p);
        allocator.Free(p, size);
    }
    state.SetItemsProcessed(state.iterations());
}

void MallocPair(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        void* p = std::malloc(size);
        benchmark::DoNotOptimize(p);
        std::free(p);
    }
    state.SetItemsProcessed(state.iterations());
}

template <typename Allocate, typename Free>
void Batch(benchmark::State& state, Allocate allocate, Free release)
{
    static const std::array<int, kBatch> order = FreeOrder();
    std::array<void*, kBatch> blocks{};
    for (auto _ : state) {
        for (int i = 0; i < kBatch; ++i)
            blocks[i] = allocate();
        benchmark::DoNotOptimize(blocks.data());
        benchmark::ClobberMemory();
        for (int i = 0; i < kBatch; ++i)
            release(blocks[order[i]]);
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
}

void PoolBatch(benchmark::State& state)
{
    quellor::BlockPool pool(static_cast<std::uint32_t>(state.range(0)), 4096, 1, 4);
    Batch(state, [&] { return pool.Allocate(); }, [&](void* p) { pool.Free(p); });
}

void SmallBlockBatch(benchmark::State& state)
{
    quellor::SmallBlockAllocator allocator(4096, 1, 4);
    const auto size = static_cast<std::size_t>(state.range(0));
    Batch(state, [&] { return allocator.Allocate(size); }, [&](void* p) { allocator.Free(p, size); });
}

void MallocBatch(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(state.range(0));
    Batch(state, [&] { return std::malloc(size); }, [](void* p) { std::free(p); });
}

} // namespace

BENCHMARK(PoolPair)->Arg(20)->Arg(64)->Arg(424);
BENCHMARK(SmallBlockPair)->Arg(20)->Arg(64)->Arg(424);
BENCHMARK(MallocPair)->Arg(20)->Arg(64)->Arg(424);
BENCHMARK(PoolBatch)->Arg(20)->Arg(64)->Arg(424);
BENCHMARK(SmallBlockBatch)->Arg(20)->Arg(64)->Arg(424);
BENCHMARK(MallocBatch)->Arg(20)->Arg(64)->Arg(424);
