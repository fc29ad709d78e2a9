// 1,000 small boxes moving every frame: re-filed in the engine's octree (1000, 1.5, 4) through
// Renderable::Invalidate, against deleting and re-inserting the same boxes in an R*-tree.
#include "renderer/Octree.h"
#include "renderer/Renderable.h"

#include <benchmark/benchmark.h>
#include <spatialindex/SpatialIndex.h>

#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kCount = 1000;
constexpr float kBound = 450.0f;

class MovingBox : public ZOR::Renderable {
public:
    MovingBox() : Renderable(Type::Renderable3D) {}
    void Place(const ZOR::float3& center, float half)
    {
        m_aabb.Set(center - ZOR::float3(half, half, half), center + ZOR::float3(half, half, half));
    }
};

// Positions, velocities and sizes shared by both contenders, so each moves the same boxes the
// same way frame after frame.
struct Flock {
    std::vector<ZOR::float3> position;
    std::vector<ZOR::float3> velocity;
    std::vector<float> half;

    Flock()
    {
        std::mt19937 rng(1234);
        std::uniform_real_distribution<float> where(-kBound, kBound);
        std::uniform_real_distribution<float> speed(-3.0f, 3.0f);
        std::uniform_real_distribution<float> size(0.5f, 4.0f);
        for (int i = 0; i < kCount; ++i) {
            position.emplace_back(where(rng), where(rng), where(rng));
            velocity.emplace_back(speed(rng), speed(rng), speed(rng));
            half.push_back(size(rng));
        }
    }

    // One frame of motion, bouncing off the walls.
    void Step(int i)
    {
        ZOR::float3& p = position[i];
        ZOR::float3& v = velocity[i];
        p += v;
        if (p.x < -kBound || p.x > kBound) v.x = -v.x;
        if (p.y < -kBound || p.y > kBound) v.y = -v.y;
        if (p.z < -kBound || p.z > kBound) v.z = -v.z;
    }
};

void OctreeInvalidate(benchmark::State& state)
{
    Flock flock;
    ZOR::Octree tree(1000.0f, 1.5f, 4);
    std::vector<MovingBox> boxes(kCount);
    for (int i = 0; i < kCount; ++i) {
        boxes[i].Place(flock.position[i], flock.half[i]);
        tree.Insert(&boxes[i]);
    }
    for (auto _ : state) {
        for (int i = 0; i < kCount; ++i) {
            flock.Step(i);
            boxes[i].Place(flock.position[i], flock.half[i]);
            boxes[i].Invalidate();
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

SpatialIndex::Region RegionOf(const ZOR::float3& c, float half)
{
    const double lo[3] = {c.x - half, c.y - half, c.z - half};
    const double hi[3] = {c.x + half, c.y + half, c.z + half};
    return SpatialIndex::Region(lo, hi, 3);
}

void RStarTreeReinsert(benchmark::State& state)
{
    Flock flock;
    std::unique_ptr<SpatialIndex::IStorageManager> storage(
        SpatialIndex::StorageManager::createNewMemoryStorageManager());
    SpatialIndex::id_type indexId = 0;
    const auto capacity = static_cast<uint32_t>(state.range(0));
    std::unique_ptr<SpatialIndex::ISpatialIndex> tree(SpatialIndex::RTree::createNewRTree(
        *storage, 0.7, capacity, capacity, 3, SpatialIndex::RTree::RV_RSTAR, indexId));
    for (int i = 0; i < kCount; ++i)
        tree->insertData(0, nullptr, RegionOf(flock.position[i], flock.half[i]), i);
    for (auto _ : state) {
        for (int i = 0; i < kCount; ++i) {
            const SpatialIndex::Region old = RegionOf(flock.position[i], flock.half[i]);
            flock.Step(i);
            if (!tree->deleteData(old, i)) {
                state.SkipWithError("a box was not found for deletion");
                return;
            }
            tree->insertData(0, nullptr, RegionOf(flock.position[i], flock.half[i]), i);
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

} // namespace

BENCHMARK(OctreeInvalidate)->Unit(benchmark::kMicrosecond);
// Node capacities: small nodes suit a tree that is changed constantly; 100 is the library's usual.
BENCHMARK(RStarTreeReinsert)->Arg(16)->Arg(100)->Unit(benchmark::kMicrosecond);
