// Matrix products and matrix x vector against Eigen's Matrix4f, and frustum box tests.
#include "renderer/Camera.h"
#include "renderer/math/AABB.h"
#include "renderer/math/Frustum.h"
#include "renderer/math/float4.h"
#include "renderer/math/float4x4.h"

#include <Eigen/Dense>
#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>
#include <vector>

namespace {

// Enough operands that each iteration streams through memory the way a frame's batch would,
// while staying in cache.
constexpr std::size_t kCount = 256;

std::vector<float> RandomFloats(std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    std::vector<float> values(n);
    for (float& v : values)
        v = dist(rng);
    return values;
}

std::vector<ZOR::float4x4> OurMatrices(unsigned seed)
{
    const std::vector<float> values = RandomFloats(kCount * 16, seed);
    std::vector<ZOR::float4x4> matrices(kCount);
    for (std::size_t i = 0; i < kCount; ++i)
        for (int e = 0; e < 16; ++e)
            matrices[i].m[e] = values[i * 16 + e];
    return matrices;
}

std::vector<Eigen::Matrix4f> EigenMatrices(unsigned seed)
{
    const std::vector<float> values = RandomFloats(kCount * 16, seed);
    std::vector<Eigen::Matrix4f> matrices(kCount);
    for (std::size_t i = 0; i < kCount; ++i)
        for (int e = 0; e < 16; ++e)
            matrices[i](e / 4, e % 4) = values[i * 16 + e];
    return matrices;
}

void BM_float4x4_Product(benchmark::State& state)
{
    const std::vector<ZOR::float4x4> a = OurMatrices(1), b = OurMatrices(2);
    std::vector<ZOR::float4x4> out(kCount);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kCount; ++i)
            out[i] = a[i] * b[i];
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_float4x4_Product);

void BM_EigenMatrix4f_Product(benchmark::State& state)
{
    const std::vector<Eigen::Matrix4f> a = EigenMatrices(1), b = EigenMatrices(2);
    std::vector<Eigen::Matrix4f> out(kCount);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kCount; ++i)
            out[i].noalias() = a[i] * b[i];
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_EigenMatrix4f_Product);

void BM_float4x4_TimesVector(benchmark::State& state)
{
    const std::vector<ZOR::float4x4> m = OurMatrices(3);
    const std::vector<float> values = RandomFloats(kCount * 4, 4);
    std::vector<ZOR::float4> v(kCount), out(kCount);
    for (std::size_t i = 0; i < kCount; ++i)
        v[i] = ZOR::float4(values[i * 4], values[i * 4 + 1], values[i * 4 + 2], values[i * 4 + 3]);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kCount; ++i)
            out[i] = m[i] * v[i];
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_float4x4_TimesVector);

void BM_EigenMatrix4f_TimesVector(benchmark::State& state)
{
    const std::vector<Eigen::Matrix4f> m = EigenMatrices(3);
    const std::vector<float> values = RandomFloats(kCount * 4, 4);
    std::vector<Eigen::Vector4f> v(kCount), out(kCount);
    for (std::size_t i = 0; i < kCount; ++i)
        v[i] = Eigen::Vector4f(values[i * 4], values[i * 4 + 1], values[i * 4 + 2], values[i * 4 + 3]);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kCount; ++i)
            out[i].noalias() = m[i] * v[i];
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}
BENCHMARK(BM_EigenMatrix4f_TimesVector);

// Boxes scattered around a perspective camera, so that all three results occur.
void BM_Frustum_TestAABB(benchmark::State& state)
{
    constexpr std::size_t kBoxes = 4096;
    ZOR::Camera camera;
    camera.SetPosition(0.0f, 5.0f, 20.0f);
    camera.SetProjectionMatrix(1.0f, 16.0f / 9.0f, 0.5f, 200.0f);
    camera.LookAt(ZOR::float3(0.2f, -0.3f, -1.0f), ZOR::float3(0.0f, 1.0f, 0.0f));

    std::mt19937 rng(5);
    std::uniform_real_distribution<float> place(-150.0f, 150.0f);
    std::uniform_real_distribution<float> extent(0.5f, 10.0f);
    std::vector<ZOR::AABB> boxes(kBoxes);
    for (ZOR::AABB& box : boxes) {
        const ZOR::float3 min(place(rng), place(rng) * 0.2f, place(rng));
        box.Set(min, min + ZOR::float3(extent(rng), extent(rng), extent(rng)));
    }

    const ZOR::Frustum& frustum = camera.GetFrustum();
    std::int64_t counts[3] = {0, 0, 0};
    for (auto _ : state) {
        for (const ZOR::AABB& box : boxes)
            ++counts[frustum.TestAABB(box)];
        benchmark::DoNotOptimize(counts);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kBoxes));
    const double total = static_cast<double>(counts[0] + counts[1] + counts[2]);
    if (total > 0) {
        state.counters["outside"] = static_cast<double>(counts[0]) / total;
        state.counters["inside"] = static_cast<double>(counts[1]) / total;
        state.counters["crossing"] = static_cast<double>(counts[2]) / total;
    }
}
BENCHMARK(BM_Frustum_TestAABB);

} // namespace
