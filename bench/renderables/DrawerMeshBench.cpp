// Filling a render-system-sized debug drawer (50,000 vertices) with spheres and boxes, and
// building a 16-segment dynamic-mesh sphere.
#include "renderer/DebugDrawer.h"
#include "renderer/DynamicMesh.h"
#include "renderer/math/float3x3.h"

#include <benchmark/benchmark.h>

namespace {

void DebugDrawerFill(benchmark::State& state)
{
    ZOR::DebugDrawer drawer(50000);
    drawer.SetObjectScale(2.0f, 1.0f, 3.0f);
    std::uint64_t vertices = 0;
    for (auto _ : state) {
        drawer.Clear();
        float x = 0.0f;
        while (drawer.GetSize() < drawer.GetCapacity()) {
            drawer.SetPenPosition(x, 1.0f, -x);
            drawer.Sphere();
            drawer.BoundingBox(ZOR::AABB(x, 0.0f, 0.0f, x + 1.0f, 1.0f, 1.0f));
            x += 1.0f;
        }
        vertices += drawer.GetSize();
        benchmark::DoNotOptimize(drawer.GetVertices());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(vertices));
    state.counters["time_per_vertex"] = benchmark::Counter(static_cast<double>(vertices),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void DynamicMeshSphere16(benchmark::State& state)
{
    constexpr int kSegments = 16;
    ZOR::DynamicMesh mesh(3 * kSegments + 6 * kSegments * (kSegments - 1) + 3 * kSegments);
    const ZOR::float3x3 rotation(0.0f, -1.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    for (auto _ : state) {
        mesh.Clear().Sphere(ZOR::float3(1.0f, 2.0f, 3.0f), 2.0f, 0.5f, kSegments, ZOR::float2(0.0f, 0.0f),
                            ZOR::float2(1.0f, 1.0f), rotation);
        benchmark::DoNotOptimize(mesh.Vertices().data());
        benchmark::ClobberMemory();
    }
    if (mesh.NumVerts() != mesh.MaxVerts())
        state.SkipWithError("sphere did not fill the mesh");
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(DebugDrawerFill)->Unit(benchmark::kMicrosecond);
BENCHMARK(DynamicMeshSphere16)->Unit(benchmark::kMicrosecond);
