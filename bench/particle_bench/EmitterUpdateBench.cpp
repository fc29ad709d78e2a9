// One ParticleEmitter::Update with a steady population of live particles: spawning to replace
// the ones that die, the sort by texture, and the simulation step. Arg = live particles.
#include "renderer/ParticleEmitter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

constexpr float kFrame = 1.0f / 60.0f;

// A cone emitter whose lifespan and spawn interval keep about `live` particles alive: one second
// of life, `live` spawns a second, in three types over both pools.
void Populate(ZOR::ParticleEmitter& emitter, unsigned live)
{
    emitter.SetMaxParticles(live + live / 4);
    emitter.SetEmitterType(ZOR::ParticleEmitter::CONE);
    emitter.SetConeDirection(0.0f, 1.0f, 0.0f);
    emitter.SetConeDegreeAngle(25.0f);
    emitter.SetParticleTypeCount(3);
    emitter.SetParticleType(0, "spark.dds", ZOR::BlendMode::Additive, ZOR::Color(1, 0.6f, 0.2f, 1),
                            ZOR::Color(1, 0, 0, 0));
    emitter.SetParticleType(1, "smoke.dds", ZOR::BlendMode::Alpha, ZOR::Color(0.5f, 0.5f, 0.5f, 1),
                            ZOR::Color(0.2f, 0.2f, 0.2f, 0));
    emitter.SetParticleType(2, "dust.dds", ZOR::BlendMode::Alpha, ZOR::Color(1, 1, 1, 1), ZOR::Color(1, 1, 1, 0));
    emitter.SetLifespan(0.9f, 1.1f);
    emitter.SetSpeed(2.0f, 6.0f);
    emitter.SetScale(0.2f, 0.6f);
    emitter.SetAngularVelocity(-2.0f, 2.0f);
    emitter.SetGravity(0.0f, -9.8f, 0.0f);
    emitter.SetVelocityDamping(0.01f);
    emitter.ScaleOut(true);
    emitter.FadeOut(true);
    const float interval = 1.0f / static_cast<float>(live);
    emitter.SetSpawnInterval(interval, interval);
    emitter.Emit(true);
    // Two seconds of frames reach the steady state.
    for (int i = 0; i < 120; ++i)
        emitter.Update(kFrame);
}

void EmitterUpdate(benchmark::State& state)
{
    std::srand(7);
    ZOR::ParticleEmitter emitter;
    Populate(emitter, static_cast<unsigned>(state.range(0)));
    for (auto _ : state) {
        emitter.Update(kFrame);
        benchmark::DoNotOptimize(emitter.GetAABB());
    }
    state.counters["live"] = static_cast<double>(emitter.GetParticleCount());
    if (emitter.GetParticleCount() < static_cast<unsigned>(state.range(0)) * 9 / 10)
        state.SkipWithError("the emitter did not reach its population");
}

} // namespace

BENCHMARK(EmitterUpdate)->Arg(500)->Arg(5000)->Unit(benchmark::kMicrosecond);
