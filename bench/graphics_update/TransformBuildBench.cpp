// The T·R·S world-matrix build that every 3D graphics component runs each frame, over 100 000
// transforms, against glm's translate · mat4_cast · scale on the same data. Items per second
// give ns per transform; the ratio is ours over glm's.
#include "bench/BenchMain.h"
#include "engine/Transform3D.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/mat4x4.hpp>

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

constexpr std::size_t kCount = 100000;

struct Placement {
    float x, y, z, sx, sy, sz;
    quellor::Quat q;
};

const std::vector<Placement>& Data()
{
    static const std::vector<Placement> data = [] {
        std::vector<Placement> out(kCount);
        for (std::size_t i = 0; i < kCount; ++i) {
            const float a = static_cast<float>(i) * 0.001f;
            const float half = a * 0.5f;
            const float n = 1.0f / std::sqrt(3.0f);
            out[i] = {a, -a, 2.0f * a, 1.0f + a * 0.01f, 2.0f, 0.5f,
                      quellor::Quat(n * std::sin(half), n * std::sin(half), n * std::sin(half), std::cos(half))};
        }
        return out;
    }();
    return data;
}

void TRS_Transform3D(benchmark::State& state)
{
    const auto& data = Data();
    std::vector<quellor::Mat4> out(kCount);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kCount; ++i) {
            const Placement& p = data[i];
            out[i] = quellor::Transform3D::BuildWorldMatrix(p.x, p.y, p.z, p.sx, p.sy, p.sz, p.q);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kCount));
}
BENCHMARK(TRS_Transform3D)->Unit(benchmark::kMicrosecond);

void TRS_glm(benchmark::State& state)
{
    const auto& data = Data();
    std::vector<glm::mat4> out(kCount);
    for (auto _ : state) {
        for (std::size_t i = 0; i < kCount; ++i) {
            const Placement& p = data[i];
            const glm::quat q(p.q.w, p.q.x, p.q.y, p.q.z);
            out[i] = glm::translate(glm::mat4(1.0f), glm::vec3(p.x, p.y, p.z)) * glm::mat4_cast(q) *
                     glm::scale(glm::mat4(1.0f), glm::vec3(p.sx, p.sy, p.sz));
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kCount));
}
BENCHMARK(TRS_glm)->Unit(benchmark::kMicrosecond);

} // namespace

TARSEL_BENCHMARK_MAIN()
