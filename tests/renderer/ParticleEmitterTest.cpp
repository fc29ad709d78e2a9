#include "renderer/ParticleEmitter.h"
#include "renderer/RenderSystem.h"
#include "tests/support/RecordingRenderContext.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tools/writers/EmitterWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

using ZOR::AABB;
using ZOR::BlendMode;
using ZOR::Color;
using ZOR::float2;
using ZOR::float3;
using ZOR::ParticleEmitter;
using Particle = ZOR::ParticleEmitter::Particle;

namespace {

void ExpectNear3(const float3& a, const float3& b, float tolerance = 1e-4f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

void ExpectColor(const Color& a, const Color& b, float tolerance = 1e-5f)
{
    EXPECT_NEAR(a.r, b.r, tolerance);
    EXPECT_NEAR(a.g, b.g, tolerance);
    EXPECT_NEAR(a.b, b.b, tolerance);
    EXPECT_NEAR(a.a, b.a, tolerance);
}

std::vector<Particle> Live(const ParticleEmitter& emitter)
{
    std::vector<Particle> live;
    for (unsigned pool = 0; pool < ParticleEmitter::kPoolCount; ++pool)
        for (const Particle& p : emitter.GetPool(pool))
            if (p.alive)
                live.push_back(p);
    return live;
}

// An emitter that spawns one particle per 0.1 s that lives for 10 s, at rest unless speed is set.
void Steady(ParticleEmitter& emitter, unsigned maxParticles)
{
    emitter.SetMaxParticles(maxParticles);
    emitter.SetLifespan(10.0f, 10.0f);
    emitter.SetSpawnInterval(0.1f, 0.1f);
    emitter.Emit(true);
}

// Spawns n particles at once (interval 0) with a step so small that they stay, at the default
// speed of 0, where they spawned.
void SpawnAtRest(ParticleEmitter& emitter, unsigned n)
{
    emitter.SetMaxParticles(n);
    emitter.SetLifespan(10.0f, 10.0f);
    emitter.SetSpawnInterval(0.0f, 0.0f);
    emitter.Emit(true);
    emitter.Update(1e-4f);
}

class OwnedEmitterTest : public ::testing::Test {
protected:
    OwnedEmitterTest() : context(std::make_shared<tarsel::test::RecordingRenderContext>()), system(context, window)
    {
        context->SetDisplayModes({ZOR::DisplayMode({640, 360}, 60)});
    }

    platform::NativeWindow* window = nullptr;
    std::shared_ptr<tarsel::test::RecordingRenderContext> context;
    ZOR::RenderSystem system;
};

} // namespace

TEST(ParticleEmitterSettings, TypeCountAndTypeIndexAreClamped)
{
    ParticleEmitter emitter;
    emitter.SetParticleTypeCount(7);
    EXPECT_EQ(emitter.GetParticleTypeCount(), 5u);
    emitter.SetParticleTypeCount(0);
    EXPECT_EQ(emitter.GetParticleTypeCount(), 0u);
    emitter.SetParticleTypeCount(-1);
    EXPECT_EQ(emitter.GetParticleTypeCount(), 5u);
    emitter.SetParticleTypeCount(4);
    EXPECT_EQ(emitter.GetParticleTypeCount(), 4u);

    emitter.SetParticleType(9, "spark.dds", BlendMode::Additive, Color(1, 0, 0, 1), Color(0, 0, 1, 0));
    EXPECT_EQ(emitter.GetParticleTexture(4), "spark.dds");
    EXPECT_EQ(emitter.GetParticleBlendMode(4), BlendMode::Additive);
    ExpectColor(emitter.GetParticleEndColor(4), Color(0, 0, 1, 0));
    EXPECT_EQ(emitter.GetParticleTexture(0), "");
    // Without a render system the name is kept and no texture is resolved.
    EXPECT_FALSE(emitter.GetParticleType(4).texture);
}

TEST(ParticleEmitterSettings, KillingSettersEmptyThePoolsAndResetTheTimers)
{
    ParticleEmitter emitter;
    Steady(emitter, 8);
    emitter.Update(0.55f);
    ASSERT_EQ(emitter.GetParticleCount(), 5u);
    EXPECT_NEAR(emitter.GetTimer(), 0.55f, 1e-6f);

    emitter.SetSpawnInterval(0.2f, 0.3f);
    EXPECT_EQ(emitter.GetParticleCount(), 0u);
    EXPECT_TRUE(Live(emitter).empty());
    EXPECT_EQ(emitter.GetTimer(), 0.0f);
    EXPECT_GE(emitter.GetCurrentSpawnInterval(), 0.2f);
    EXPECT_LE(emitter.GetCurrentSpawnInterval(), 0.3f);

    emitter.Update(1.0f);
    ASSERT_GT(emitter.GetParticleCount(), 0u);
    emitter.SetMaxParticles(3);
    EXPECT_EQ(emitter.GetPool(0).size(), 3u);
    EXPECT_EQ(emitter.GetPool(1).size(), 3u);
    EXPECT_TRUE(Live(emitter).empty());

    emitter.Update(1.0f);
    ASSERT_GT(emitter.GetParticleCount(), 0u);
    emitter.DestroyParticles();
    EXPECT_EQ(emitter.GetParticleCount(), 0u);
    EXPECT_EQ(emitter.GetSpawnAccumulator(), 0.0f);
    EXPECT_TRUE(Live(emitter).empty());
}

TEST(ParticleEmitterSettings, ACopyTakesTheSettingsWithEveryParticleDead)
{
    ParticleEmitter emitter;
    Steady(emitter, 6);
    emitter.SetEmitterType(ParticleEmitter::SPHERE);
    emitter.SetSphereRadius(3.0f);
    emitter.SetParticleType(1, "smoke.dds", BlendMode::None, Color(0.5f, 0.5f, 0.5f, 1), Color(0, 0, 0, 0));
    emitter.Update(0.35f);
    ASSERT_EQ(emitter.GetParticleCount(), 3u);

    ParticleEmitter copy(emitter);
    EXPECT_EQ(copy.GetEmitterType(), ParticleEmitter::SPHERE);
    EXPECT_EQ(copy.GetSphereRadius(), 3.0f);
    EXPECT_EQ(copy.GetParticleTexture(1), "smoke.dds");
    EXPECT_EQ(copy.GetParticleBlendMode(1), BlendMode::None);
    EXPECT_TRUE(copy.GetEmitting());
    EXPECT_EQ(copy.GetPool(0).size(), 6u);
    EXPECT_EQ(copy.GetParticleCount(), 0u);
    EXPECT_TRUE(Live(copy).empty());
    EXPECT_EQ(copy.GetTimer(), 0.0f);
    EXPECT_EQ(copy.GetSpawnAccumulator(), 0.0f);

    // The copy's particles take the copy's types, not the original's.
    copy.Update(0.1f);
    for (const Particle& p : Live(copy))
        EXPECT_EQ(p.type, &copy.GetParticleType(0));
}

TEST(ParticleEmitterSpawning, AFixedIntervalSpawnsOnTimeAndCarriesTheRemainder)
{
    ParticleEmitter emitter;
    Steady(emitter, 10);
    emitter.Update(0.35f);
    EXPECT_EQ(emitter.GetParticleCount(), 3u);
    EXPECT_EQ(Live(emitter).size(), 3u);
    EXPECT_NEAR(emitter.GetSpawnAccumulator(), 0.05f, 1e-5f);
    EXPECT_NEAR(emitter.GetTimer(), 0.35f, 1e-6f);

    // Switching emission off stops spawning; the particles keep living.
    emitter.Emit(false);
    emitter.Update(1.0f);
    EXPECT_EQ(emitter.GetParticleCount(), 3u);
}

TEST(ParticleEmitterSpawning, AFullPoolStopsSpawningAndDropsTheAccumulator)
{
    ParticleEmitter emitter;
    Steady(emitter, 2);
    emitter.Update(0.35f);
    EXPECT_EQ(emitter.GetParticleCount(), 2u);
    EXPECT_EQ(emitter.GetSpawnAccumulator(), 0.0f);
    emitter.Update(0.09f);
    EXPECT_EQ(emitter.GetParticleCount(), 2u);
    EXPECT_NEAR(emitter.GetSpawnAccumulator(), 0.09f, 1e-6f);

    // An interval of 0 fills the pool and stops instead of spinning.
    ParticleEmitter burst;
    SpawnAtRest(burst, 50);
    EXPECT_EQ(burst.GetParticleCount(), 50u);
}

TEST(ParticleEmitterSpawning, NoTypesOrNoTimeSpawnsNothing)
{
    ParticleEmitter none;
    Steady(none, 10);
    none.SetParticleTypeCount(0);
    none.Update(1.0f);
    EXPECT_EQ(none.GetParticleCount(), 0u);
    EXPECT_TRUE(Live(none).empty());

    ParticleEmitter still;
    Steady(still, 10);
    still.SetSpeed(3.0f, 3.0f);
    still.Update(0.1f);
    ASSERT_EQ(still.GetParticleCount(), 1u);
    const Particle before = Live(still)[0];
    still.Update(0.0f);
    still.Update(-1.0f);
    EXPECT_EQ(still.GetParticleCount(), 1u);
    const Particle after = Live(still)[0];
    EXPECT_EQ(after.age, before.age);
    ExpectNear3(after.position, before.position, 0.0f);
}

TEST(ParticleEmitterSpawning, TypesPickTheirPoolByBlendMode)
{
    ParticleEmitter emitter;
    emitter.SetParticleTypeCount(2);
    emitter.SetParticleType(0, "a.dds", BlendMode::Alpha, Color(1, 1, 1, 1), Color(1, 1, 1, 1));
    emitter.SetParticleType(1, "b.dds", BlendMode::Additive, Color(1, 1, 1, 1), Color(1, 1, 1, 1));
    SpawnAtRest(emitter, 40);
    unsigned inPool[2] = {0, 0};
    for (unsigned pool = 0; pool < 2; ++pool) {
        for (const Particle& p : emitter.GetPool(pool)) {
            if (!p.alive)
                continue;
            ++inPool[pool];
            EXPECT_EQ(p.type->blendMode == BlendMode::Alpha ? 0u : 1u, pool);
        }
    }
    // With forty draws, each type shows up; every live particle is counted once.
    EXPECT_GT(inPool[0], 0u);
    EXPECT_GT(inPool[1], 0u);
    EXPECT_EQ(inPool[0] + inPool[1], emitter.GetParticleCount());
}

TEST(ParticleEmitterSimulation, DampingIsClampedToZeroThroughOne)
{
    const auto positionsWith = [](float damping) {
        std::srand(1234);
        ParticleEmitter emitter;
        Steady(emitter, 10);
        emitter.SetSpeed(4.0f, 4.0f);
        emitter.SetVelocityDamping(damping);
        emitter.SetAngularVelocity(1.0f, 2.0f);
        emitter.SetAngularVelocityDamping(damping);
        emitter.Update(0.35f);
        emitter.Update(0.1f);
        return Live(emitter);
    };
    const auto full = positionsWith(1.0f);
    const auto over = positionsWith(2.0f);
    const auto none = positionsWith(0.0f);
    const auto under = positionsWith(-1.0f);
    ASSERT_EQ(full.size(), 4u);
    ASSERT_EQ(over.size(), full.size());
    ASSERT_EQ(under.size(), none.size());
    for (std::size_t i = 0; i < full.size(); ++i) {
        ExpectNear3(full[i].velocity, float3());
        ExpectNear3(full[i].position, float3());
        EXPECT_EQ(full[i].rotation, 0.0f);
        ExpectNear3(over[i].position, full[i].position, 0.0f);
        EXPECT_NEAR(none[i].velocity.Length(), 4.0f, 1e-4f);
        EXPECT_GT(none[i].position.Length(), 0.0f);
        ExpectNear3(under[i].position, none[i].position, 0.0f);
        EXPECT_EQ(under[i].rotation, none[i].rotation);
    }
}

TEST(ParticleEmitterSimulation, ScaleAlphaAndColourFollowTheParticlesAge)
{
    ParticleEmitter emitter;
    emitter.SetMaxParticles(4);
    emitter.SetLifespan(1.0f, 1.0f);
    emitter.SetScale(2.0f, 2.0f);
    emitter.SetSpawnInterval(0.25f, 0.25f);
    emitter.SetParticleType(0, "", BlendMode::Alpha, Color(1, 0, 0, 1), Color(0, 0, 1, 0));
    emitter.ScaleOut(true);
    emitter.FadeOut(true);
    emitter.Emit(true);
    emitter.Update(0.25f);
    const auto live = Live(emitter);
    ASSERT_EQ(live.size(), 1u);
    EXPECT_NEAR(live[0].age, 0.25f, 1e-6f);
    EXPECT_NEAR(live[0].scale, 1.5f, 1e-5f);
    EXPECT_EQ(live[0].initialScale, 2.0f);
    EXPECT_NEAR(live[0].alpha, 0.75f, 1e-5f);
    ExpectColor(live[0].color, Color(0.75f, 0.0f, 0.25f, 0.75f));

    // Without scaling or fading out, scale and alpha stay; the particle dies at its lifespan.
    emitter.ScaleOut(false);
    emitter.FadeOut(false);
    emitter.Emit(false);
    emitter.Update(0.5f);
    EXPECT_NEAR(Live(emitter)[0].scale, 1.5f, 1e-5f);
    emitter.Update(0.25f);
    EXPECT_EQ(emitter.GetParticleCount(), 0u);
    EXPECT_TRUE(Live(emitter).empty());
}

TEST(ParticleEmitterSimulation, GravityAcceleratesEveryLiveParticle)
{
    ParticleEmitter emitter;
    SpawnAtRest(emitter, 3);
    emitter.SetGravity(0.0f, -10.0f, 0.0f);
    emitter.Update(0.5f);
    for (const Particle& p : Live(emitter)) {
        EXPECT_NEAR(p.velocity.y, -5.0f, 1e-4f);
        EXPECT_NEAR(p.position.y, -2.5f, 1e-3f);
    }
}

TEST(ParticleEmitterSimulation, BoundsCoverThePositionsBeforeTheStep)
{
    ParticleEmitter emitter;
    emitter.SetPosition(1.0f, 2.0f, 3.0f);
    // No live particle: the box is empty (+inf / -inf).
    emitter.Update(0.1f);
    EXPECT_TRUE(std::isinf(emitter.GetAABB().min.x) && emitter.GetAABB().min.x > 0);
    EXPECT_TRUE(std::isinf(emitter.GetAABB().max.y) && emitter.GetAABB().max.y < 0);

    emitter.SetMaxParticles(1);
    emitter.SetLifespan(10.0f, 10.0f);
    emitter.SetSpeed(10.0f, 10.0f);
    emitter.SetSpawnInterval(0.1f, 0.1f);
    emitter.Emit(true);
    emitter.Update(0.1f);
    ASSERT_EQ(emitter.GetParticleCount(), 1u);
    const float3 moved = Live(emitter)[0].position;
    EXPECT_NEAR((moved - float3(1, 2, 3)).Length(), 1.0f, 1e-4f);
    ExpectNear3(emitter.GetAABB().min, float3(1, 2, 3), 0.0f);
    ExpectNear3(emitter.GetAABB().max, float3(1, 2, 3), 0.0f);

    emitter.Update(0.1f);
    ExpectNear3(emitter.GetAABB().min, moved, 0.0f);
    ExpectNear3(emitter.GetAABB().max, moved, 0.0f);
}

TEST(ParticleEmitterShapes, EachShapePlacesParticlesWhereItSays)
{
    const float3 origin(2.0f, -1.0f, 5.0f);
    {
        ParticleEmitter point;
        point.SetPosition(origin);
        SpawnAtRest(point, 20);
        for (const Particle& p : Live(point))
            ExpectNear3(p.position, origin);
    }
    {
        ParticleEmitter line;
        line.SetEmitterType(ParticleEmitter::LINE);
        line.SetPosition(origin);
        line.SetLineEndpoint(origin + float3(4.0f, 0.0f, 0.0f));
        SpawnAtRest(line, 50);
        float spread = 0.0f;
        for (const Particle& p : Live(line)) {
            EXPECT_NEAR(p.position.y, origin.y, 1e-5f);
            EXPECT_NEAR(p.position.z, origin.z, 1e-5f);
            EXPECT_GE(p.position.x, origin.x - 1e-5f);
            EXPECT_LE(p.position.x, origin.x + 4.0f);
            spread = std::max(spread, p.position.x - origin.x);
        }
        EXPECT_GT(spread, 1.0f);
    }
    {
        ParticleEmitter box;
        box.SetEmitterType(ParticleEmitter::BOX);
        box.SetPosition(origin);
        // Min and max given the wrong way round on x still bound the draw.
        box.SetBox(AABB(float3(1.0f, -0.5f, 0.0f), float3(-1.0f, 0.5f, 3.0f)));
        SpawnAtRest(box, 50);
        for (const Particle& p : Live(box)) {
            const float3 local = p.position - origin;
            EXPECT_GE(local.x, -1.0f - 1e-5f);
            EXPECT_LE(local.x, 1.0f + 1e-5f);
            EXPECT_GE(local.y, -0.5f - 1e-5f);
            EXPECT_LE(local.y, 0.5f + 1e-5f);
            EXPECT_GE(local.z, -1e-5f);
            EXPECT_LE(local.z, 3.0f + 1e-5f);
        }
    }
    {
        ParticleEmitter sphere;
        sphere.SetEmitterType(ParticleEmitter::SPHERE);
        sphere.SetPosition(origin);
        sphere.SetSphereRadius(2.5f);
        SpawnAtRest(sphere, 50);
        bool above = false, below = false;
        for (const Particle& p : Live(sphere)) {
            EXPECT_NEAR((p.position - origin).Length(), 2.5f, 1e-4f);
            above = above || p.position.y > origin.y;
            below = below || p.position.y < origin.y;
        }
        EXPECT_TRUE(above && below);
    }
}

TEST(ParticleEmitterShapes, ScatteredShapesLeaveAtTheirSpeed)
{
    for (const auto type : {ParticleEmitter::POINT, ParticleEmitter::LINE, ParticleEmitter::BOX,
                            ParticleEmitter::SPHERE}) {
        ParticleEmitter emitter;
        emitter.SetEmitterType(type);
        emitter.SetLineEndpoint(1.0f, 0.0f, 0.0f);
        emitter.SetMaxParticles(30);
        emitter.SetLifespan(10.0f, 10.0f);
        emitter.SetSpeed(3.0f, 3.0f);
        emitter.SetSpawnInterval(0.0f, 0.0f);
        emitter.Emit(true);
        emitter.Update(1e-4f);
        ASSERT_EQ(emitter.GetParticleCount(), 30u);
        for (const Particle& p : Live(emitter)) {
            // A direction that happened to be zero stays zero instead of becoming NaN.
            const float speed = p.velocity.Length();
            EXPECT_TRUE(std::abs(speed - 3.0f) < 1e-4f || speed == 0.0f) << speed;
        }
    }
}

TEST(ParticleEmitterShapes, ConeParticlesLeaveAtTheConeAngle)
{
    {
        ParticleEmitter flat;
        flat.SetEmitterType(ParticleEmitter::CONE);
        flat.SetConeDirection(0.0f, 0.0f, 1.0f);
        flat.SetConeDegreeAngle(90.0f);
        flat.SetSpeed(2.0f, 2.0f);
        SpawnAtRest(flat, 30);
        float3 sum;
        for (const Particle& p : Live(flat)) {
            EXPECT_NEAR(p.velocity.z, 0.0f, 1e-4f);
            EXPECT_NEAR(p.velocity.Length(), 2.0f, 1e-4f);
            sum += p.velocity;
        }
        // Random azimuths: not all in one direction.
        EXPECT_LT(sum.Length(), 30.0f * 2.0f * 0.9f);
    }
    {
        // An axis at 45 degrees to the frame's reference still gives exactly the cone angle, and
        // the stored direction ends up normalised.
        ParticleEmitter slanted;
        slanted.SetEmitterType(ParticleEmitter::CONE);
        slanted.SetConeDirection(2.0f, 2.0f, 0.0f);
        slanted.SetConeDegreeAngle(30.0f);
        slanted.SetSpeed(1.0f, 1.0f);
        SpawnAtRest(slanted, 30);
        const float3 axis = float3(1.0f, 1.0f, 0.0f).Normalized();
        ExpectNear3(slanted.GetConeDirection(), axis);
        for (const Particle& p : Live(slanted))
            EXPECT_NEAR(std::acos(std::clamp(p.velocity.Dot(axis), -1.0f, 1.0f)), 30.0f * 0.017453292f, 1e-3f);
    }
    {
        for (const float3 axis : {float3(1, 0, 0), float3(-1, 0, 0)}) {
            ParticleEmitter along;
            along.SetEmitterType(ParticleEmitter::CONE);
            along.SetConeDirection(axis);
            along.SetConeDegreeAngle(10.0f);
            along.SetSpeed(1.0f, 1.0f);
            SpawnAtRest(along, 10);
            for (const Particle& p : Live(along))
                EXPECT_NEAR(p.velocity.Dot(axis), std::cos(10.0f * 0.017453292f), 1e-4f);
        }
    }
    {
        ParticleEmitter zero;
        zero.SetEmitterType(ParticleEmitter::CONE);
        zero.SetConeDegreeAngle(0.0f);
        zero.SetSpeed(5.0f, 5.0f);
        SpawnAtRest(zero, 5);
        for (const Particle& p : Live(zero))
            ExpectNear3(p.velocity, float3(0.0f, 5.0f, 0.0f));
    }
}

TEST_F(OwnedEmitterTest, UpdateResolvesTexturesAndPoolsSortByTextureWithTheDeadLast)
{
    ASSERT_TRUE(system.LoadTexture("fx/first.dds"));
    ASSERT_TRUE(system.LoadTexture("fx/second.dds"));
    ASSERT_TRUE(system.LoadTexture("fx/third.dds"));

    ParticleEmitter emitter;
    emitter.SetParticleTypeCount(3);
    // Type order differs from texture order, so sorting has work to do.
    emitter.SetParticleType(0, "third.dds", BlendMode::Alpha, Color(), Color());
    emitter.SetParticleType(1, "first.dds", BlendMode::Alpha, Color(), Color());
    emitter.SetParticleType(2, "second.dds", BlendMode::Additive, Color(), Color());
    EXPECT_FALSE(emitter.GetParticleType(0).texture);

    system.AddRenderable(&emitter);
    emitter.Update(0.0f);
    EXPECT_EQ(emitter.GetParticleType(0).texture, system.GetTexture("third.dds"));
    EXPECT_EQ(emitter.GetParticleType(1).texture, system.GetTexture("first.dds"));
    EXPECT_EQ(emitter.GetParticleType(2).texture, system.GetTexture("second.dds"));
    EXPECT_EQ(emitter.GetParticleCount(), 0u);

    // Owned now: a new type resolves at once.
    emitter.SetParticleType(3, "first.dds", BlendMode::Alpha, Color(), Color());
    EXPECT_EQ(emitter.GetParticleType(3).texture, system.GetTexture("first.dds"));

    // Three waves; the middle one dies during the third update, leaving holes between live
    // entries that the next sort must move to the end.
    emitter.SetMaxParticles(64);
    emitter.SetSpawnInterval(0.01f, 0.01f);
    emitter.Emit(true);
    emitter.SetLifespan(1.0f, 1.0f);
    emitter.Update(0.1f);
    emitter.SetLifespan(0.15f, 0.15f);
    emitter.Update(0.1f);
    emitter.SetLifespan(1.0f, 1.0f);
    emitter.Update(0.1f);
    const unsigned survivors = emitter.GetParticleCount();
    ASSERT_GT(survivors, 10u);
    emitter.Emit(false);
    emitter.Update(0.01f);
    ASSERT_EQ(emitter.GetParticleCount(), survivors);

    // In each pool: the live particles first, by texture, and within one texture the older
    // before the younger; the pass walks exactly the live ones.
    const auto expectOrdered = [&emitter](unsigned expectedLive) {
        unsigned live = 0;
        for (unsigned pool = 0; pool < 2; ++pool) {
            bool seenDead = false;
            const Particle* previous = nullptr;
            for (const Particle& p : emitter.GetPool(pool)) {
                if (!p.alive) {
                    seenDead = true;
                    continue;
                }
                ++live;
                EXPECT_FALSE(seenDead) << "a live particle after a dead one in pool " << pool;
                if (previous) {
                    EXPECT_GE(*p.type->texture, *previous->type->texture) << "pool " << pool;
                    if (p.type->texture == previous->type->texture) {
                        EXPECT_LE(p.age, previous->age) << "pool " << pool;
                    }
                }
                previous = &p;
            }
            const auto inUse = emitter.GetPoolInUse(pool);
            EXPECT_EQ(inUse.data(), emitter.GetPool(pool).data());
            EXPECT_EQ(inUse.size(), static_cast<std::size_t>(std::count_if(
                                        inUse.begin(), inUse.end(), [](const Particle& p) { return p.alive; })));
            EXPECT_TRUE(std::none_of(emitter.GetPool(pool).begin() + static_cast<std::ptrdiff_t>(inUse.size()),
                                     emitter.GetPool(pool).end(), [](const Particle& p) { return p.alive; }));
        }
        EXPECT_EQ(live, expectedLive);
    };
    expectOrdered(survivors);

    // A type that takes another texture while its particles live sorts them anew.
    emitter.SetParticleType(0, "second.dds", BlendMode::Alpha, Color(), Color());
    emitter.Update(0.01f);
    expectOrdered(survivors);
    system.RemoveRenderable(&emitter);
}

TEST(ParticleEmitterFile, LoadReadsEveryKeyAndHandlesOddTexts)
{
    tarsel::test::TempDir dir;
    tarsel::tools::EmitterDescription d;
    d.maxParticles = 12;
    d.particleTypes = 2;
    d.types[0] = {"spark.dds", "additive", "", "0.5 0.25 1 1"};
    d.types[1] = {"smoke.dds", "NONE", "0.2", "1 2 3 4 5"};
    d.types[2].blendMode = "ADDITIVE";
    d.types[3].blendMode = "";
    d.emitterType = "RING";
    const std::string path = (dir / "odd.pe").string();
    ASSERT_TRUE(tarsel::tools::WriteEmitter(d, path));

    ParticleEmitter emitter;
    emitter.SetEmitterType(ParticleEmitter::BOX);
    ASSERT_TRUE(emitter.Load(path));
    EXPECT_EQ(emitter.GetMaxParticles(), 12u);
    EXPECT_EQ(emitter.GetPool(1).size(), 12u);
    EXPECT_EQ(emitter.GetParticleTypeCount(), 2u);
    EXPECT_EQ(emitter.GetParticleTexture(0), "spark.dds");
    EXPECT_EQ(emitter.GetParticleBlendMode(0), BlendMode::Alpha);
    EXPECT_EQ(emitter.GetParticleBlendMode(1), BlendMode::None);
    EXPECT_EQ(emitter.GetParticleBlendMode(2), BlendMode::Additive);
    EXPECT_EQ(emitter.GetParticleBlendMode(3), BlendMode::Alpha);
    ExpectColor(emitter.GetParticleStartColor(0), Color(1, 1, 1, 1));
    ExpectColor(emitter.GetParticleEndColor(0), Color(0.5f, 0.25f, 1, 1));
    ExpectColor(emitter.GetParticleStartColor(1), Color(0.2f, 1, 1, 1));
    ExpectColor(emitter.GetParticleEndColor(1), Color(1, 2, 3, 4));
    EXPECT_EQ(emitter.GetEmitterType(), ParticleEmitter::BOX);

    // A file that cannot be read changes nothing.
    EXPECT_FALSE(emitter.Load((dir / "missing.pe").string()));
    EXPECT_EQ(emitter.GetMaxParticles(), 12u);
    EXPECT_EQ(emitter.GetParticleTexture(1), "smoke.dds");
}

TEST(ParticleEmitterFile, SaveThenLoadReproducesEverySetting)
{
    tarsel::test::TempDir dir;
    ParticleEmitter a;
    a.SetMaxParticles(77);
    a.SetParticleTypeCount(3);
    a.SetParticleType(0, "a.dds", BlendMode::None, Color(0.1f, 0.2f, 0.3f, 0.4f), Color(0.5f, 0.6f, 0.7f, 0.8f));
    a.SetParticleType(1, "b.dds", BlendMode::Additive, Color(1, 0, 0, 1), Color(0, 1, 0, 0.5f));
    a.SetParticleType(4, "e.dds", BlendMode::PureAdditive, Color(0, 0, 1, 1), Color(1, 1, 0, 0));
    a.SetGravity(0.0f, -9.5f, 0.25f);
    a.SetPosition(1.5f, 2.5f, -3.5f);
    a.SetLineEndpoint(4.0f, 5.0f, 6.0f);
    a.SetConeDirection(0.0f, 0.0f, -1.0f);
    a.SetConeDegreeAngle(33.0f);
    a.SetSphereRadius(2.75f);
    a.SetBox(AABB(float3(-1.0f, -2.0f, -3.0f), float3(4.0f, 5.0f, 6.0f)));
    a.SetVelocityDamping(0.125f);
    a.SetAngularVelocityDamping(0.375f);
    a.Emit(true);
    a.ScaleOut(true);
    a.FadeOut(false);
    a.SetLifespan(0.5f, 1.5f);
    a.SetSpawnInterval(0.02f, 0.04f);
    a.SetSpeed(3.0f, 4.0f);
    a.SetScale(0.25f, 0.75f);
    a.SetAngularVelocity(-1.0f, 1.0f);
    a.SetEmitterType(ParticleEmitter::CONE);
    const std::string path = (dir / "all.pe").string();
    ASSERT_TRUE(a.Save(path));
    const std::string text = dir.Read("all.pe");
    EXPECT_NE(text.find("BLEND_MODE=ADDITIVE"), std::string::npos);
    EXPECT_NE(text.find("START_COLOR=0.1 0.2 0.3 0.4"), std::string::npos);
    EXPECT_NE(text.find("TYPE=CONE"), std::string::npos);

    ParticleEmitter b;
    ASSERT_TRUE(b.Load(path));
    EXPECT_EQ(b.GetMaxParticles(), 77u);
    EXPECT_EQ(b.GetParticleTypeCount(), 3u);
    for (unsigned i = 0; i < ParticleEmitter::kTypeCount; ++i) {
        EXPECT_EQ(b.GetParticleTexture(i), a.GetParticleTexture(i)) << i;
        ExpectColor(b.GetParticleStartColor(i), a.GetParticleStartColor(i));
        ExpectColor(b.GetParticleEndColor(i), a.GetParticleEndColor(i));
    }
    EXPECT_EQ(b.GetParticleBlendMode(0), BlendMode::None);
    EXPECT_EQ(b.GetParticleBlendMode(1), BlendMode::Additive);
    EXPECT_EQ(b.GetParticleBlendMode(2), BlendMode::Alpha);
    // A mode the file has no name for is written as alpha.
    EXPECT_EQ(b.GetParticleBlendMode(4), BlendMode::Alpha);
    ExpectNear3(b.GetGravity(), a.GetGravity(), 1e-6f);
    ExpectNear3(b.GetPosition(), a.GetPosition(), 1e-6f);
    ExpectNear3(b.GetLineEndpoint(), a.GetLineEndpoint(), 1e-6f);
    ExpectNear3(b.GetConeDirection(), a.GetConeDirection(), 1e-6f);
    EXPECT_EQ(b.GetConeDegreeAngle(), 33.0f);
    EXPECT_EQ(b.GetSphereRadius(), 2.75f);
    ExpectNear3(b.GetBox().min, float3(-1, -2, -3), 1e-6f);
    ExpectNear3(b.GetBox().max, float3(4, 5, 6), 1e-6f);
    EXPECT_EQ(b.GetVelocityDamping(), 0.125f);
    EXPECT_EQ(b.GetAngularVelocityDamping(), 0.375f);
    EXPECT_TRUE(b.GetEmitting());
    EXPECT_TRUE(b.GetScalingOut());
    EXPECT_FALSE(b.GetFadingOut());
    EXPECT_EQ(b.GetLifespan().x, 0.5f);
    EXPECT_EQ(b.GetMaxLifetime(), 1.5f);
    EXPECT_EQ(b.GetSpawnInterval().x, 0.02f);
    EXPECT_EQ(b.GetSpawnInterval().y, 0.04f);
    EXPECT_GE(b.GetCurrentSpawnInterval(), 0.02f);
    EXPECT_LE(b.GetCurrentSpawnInterval(), 0.04f);
    EXPECT_EQ(b.GetSpeed().y, 4.0f);
    EXPECT_EQ(b.GetScale().x, 0.25f);
    EXPECT_EQ(b.GetAngularVelocity().x, -1.0f);
    EXPECT_EQ(b.GetEmitterType(), ParticleEmitter::CONE);

    // Every other shape's name survives a round trip too.
    for (const auto type : {ParticleEmitter::POINT, ParticleEmitter::LINE, ParticleEmitter::BOX,
                            ParticleEmitter::SPHERE}) {
        a.SetEmitterType(type);
        ASSERT_TRUE(a.Save(path));
        ASSERT_TRUE(b.Load(path));
        EXPECT_EQ(b.GetEmitterType(), type);
    }
}

TEST(ParticleEmitterFile, LoadingKeepsParticlesInTheEntriesThatStay)
{
    tarsel::test::TempDir dir;
    ParticleEmitter emitter;
    Steady(emitter, 10);
    emitter.Update(0.55f);
    ASSERT_EQ(emitter.GetParticleCount(), 5u);
    const float timer = emitter.GetTimer();

    tarsel::tools::EmitterDescription d;
    d.maxParticles = 3;
    d.emit = true;
    d.lifespan = {10.0f, 10.0f};
    d.spawnInterval = {0.1f, 0.1f};
    const std::string path = (dir / "small.pe").string();
    ASSERT_TRUE(tarsel::tools::WriteEmitter(d, path));
    ASSERT_TRUE(emitter.Load(path));
    // Three entries remain, each still holding its particle; the count follows them.
    EXPECT_EQ(Live(emitter).size(), 3u);
    EXPECT_EQ(emitter.GetParticleCount(), 3u);
    EXPECT_EQ(emitter.GetTimer(), timer);
    emitter.Update(10.5f);
    EXPECT_EQ(emitter.GetParticleCount(), static_cast<unsigned>(Live(emitter).size()));
}

TEST(ParticleEmitterFile, HostileFilesLoadClampedWithALogLine)
{
    tarsel::test::TempDir dir;
    dir.Write("hostile.pe", "[MAX_PARTICLES]\nVALUE=4000000000\n"
                            "[PARTICLE_TYPES]\nVALUE=9\n"
                            "[PARTICLE_TYPE_1]\nSTART_COLOR=nan 0.5 inf\nEND_COLOR=junk\n"
                            "[GRAVITY]\nX=inf\nY=-1e999\nZ=nan\n"
                            "[CONE_ANGLE]\nVALUE=1e400\n"
                            "[SPHERE_RADIUS]\nVALUE=nan\n"
                            "[PARTICLE_SCALE]\nMIN=abc\nMAX=-inf\n"
                            "[PARTICLE_LIFESPAN]\nMIN=0.5\nMAX=1\n"
                            "[PARTICLE_SPEED]\nMIN=1e38\nMAX=3e38\n"
                            "[EMIT]\nVALUE=1\n"
                            "[EMITTER]\nTYPE=SPHERE\n");
    ParticleEmitter emitter;
    tarsel::test::StdoutCapture capture;
    ASSERT_TRUE(emitter.Load((dir / "hostile.pe").string()));
    const std::string log = capture.Text();
    EXPECT_NE(log.find("4000000000 particles"), std::string::npos) << log;
    EXPECT_NE(log.find("9 particle types"), std::string::npos) << log;
    EXPECT_NE(log.find("[GRAVITY] X"), std::string::npos) << log;
    EXPECT_NE(log.find("[SPHERE_RADIUS] VALUE"), std::string::npos) << log;

    EXPECT_EQ(emitter.GetMaxParticles(), ParticleEmitter::kMaxParticlesCap);
    EXPECT_EQ(emitter.GetPool(0).size(), ParticleEmitter::kMaxParticlesCap);
    EXPECT_EQ(emitter.GetParticleTypeCount(), 5u);
    // Non-finite parts keep their defaults; unreadable text reads as the reader's 0 or white.
    ExpectColor(emitter.GetParticleStartColor(0), Color(1, 0.5f, 1, 1));
    ExpectColor(emitter.GetParticleEndColor(0), Color(1, 1, 1, 1));
    ExpectNear3(emitter.GetGravity(), float3(), 0.0f);
    EXPECT_EQ(emitter.GetConeDegreeAngle(), 45.0f);
    EXPECT_EQ(emitter.GetSphereRadius(), 1.0f);
    EXPECT_EQ(emitter.GetScale().x, 0.0f);
    EXPECT_EQ(emitter.GetScale().y, 1.0f);

    // Simulating what was loaded stays finite in position where it can, and never crashes.
    for (int i = 0; i < 5; ++i)
        emitter.Update(0.02f);
    EXPECT_GT(emitter.GetParticleCount(), 0u);
    EXPECT_EQ(emitter.GetParticleCount(), static_cast<unsigned>(Live(emitter).size()));
    EXPECT_TRUE(emitter.Save((dir / "saved.pe").string()));
}
