// The lift beam: rebuilding its mesh as the effect does every frame, at the 300-unit cap (480
// segments, 23,040 vertices, 1,920 noise calls) and at 30 units (48 segments). µs per rebuild;
// the phase moves on by one frame's worth each time, as in play. No peer: nothing in Debian
// builds this mesh.
#include "bench/BenchMain.h"
#include "gameplay/effects/LiftBeamMesh.h"
#include "gameplay/effects/LiftFxComponent.h"
#include "renderer/DynamicMesh.h"

#include <benchmark/benchmark.h>

namespace {

void RebuildBeam(benchmark::State& state, float length)
{
    ZOR::DynamicMesh mesh(quellor::LiftFxComponent::kMaxVertices);
    // A slanted beam, so that the waves and bands are all there.
    const ZOR::float3 start(3.0f, 12.0f, -4.0f);
    const ZOR::float3 direction = ZOR::float3(0.8f, 0.1f, 0.6f).Normalized();
    const ZOR::float3 end = start + direction * length;
    float phase = 0.0f;
    for (auto _ : state) {
        quellor::LiftBeamMesh::Build(mesh, start, end, 1.0f, phase);
        phase += quellor::LiftFxComponent::kPhaseSpeed / 60.0f;
        benchmark::DoNotOptimize(mesh.Vertices().data());
    }
    state.counters["vertices"] = static_cast<double>(mesh.NumVerts());
    state.counters["segments"] = static_cast<double>(quellor::LiftBeamMesh::SegmentCount(length));
}

void BM_LiftBeamRebuild_300(benchmark::State& state)
{
    RebuildBeam(state, 300.0f);
}
BENCHMARK(BM_LiftBeamRebuild_300)->Unit(benchmark::kMicrosecond);

void BM_LiftBeamRebuild_30(benchmark::State& state)
{
    RebuildBeam(state, 30.0f);
}
BENCHMARK(BM_LiftBeamRebuild_30)->Unit(benchmark::kMicrosecond);

} // namespace
