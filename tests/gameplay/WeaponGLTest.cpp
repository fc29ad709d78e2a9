// The weapons' effects on OpenGL: the lift beam and the shot's tube, drawn additively, light the
// pixels they cover, and the beam's texture repeats outside u 0 to 1 (its bands scroll there).
#include "engine/graphics/DynamicMeshComponent.h"
#include "gameplay/effects/LiftFxComponent.h"
#include "gameplay/effects/SnapshotFxComponent.h"
#include "tests/gameplay/EffectGLKit.h"

#include <gtest/gtest.h>

namespace quellor::test {
namespace {

using ZOR::float2;
using ZOR::float3;

class WeaponGLTest : public EffectGLTest {
protected:
    void SetUp() override
    {
        EffectGLTest::SetUp();
        // The beam's and the tube's textures plain light grey, and a strip bright in its first
        // quarter along u only.
        AddTexture(LiftFxComponent::kTexture, PlainImage(4, 4, 200));
        AddTexture(SnapshotFxComponent::kTexture, PlainImage(4, 4, 200));
        AddTexture("strip.dds", QuarterStrip(200));
    }

    template <typename T>
    T* Effect(const std::string& name)
    {
        Entity* entity = engine->CreateEntity(name, "default");
        return entity->AddComponent<T>(true);
    }
};

TEST_F(WeaponGLTest, TheBeamAndTheTubeLightTheirPixels)
{
    const int empty = CentreLuma(Frame());
    // Upright, the beam is a straight tube through the middle of the view.
    auto* beam = Effect<LiftFxComponent>("liftFx");
    beam->m_start = float3(0.0f, -6.0f, 0.0f);
    beam->m_end = float3(0.0f, 6.0f, 0.0f);
    beam->FadeIn(0.05f);
    const int lifted = CentreLuma(Frame(8));
    EXPECT_GT(lifted, empty + 20) << "beam " << lifted << ", background " << empty;
    engine->GetEntity("liftFx", "default")->Destroy();
    EXPECT_NEAR(CentreLuma(Frame()), empty, 6);

    auto* tube = Effect<SnapshotFxComponent>("snapshotFx");
    tube->m_radius = SnapshotFxComponent::kOpenRadius;
    tube->m_from = float3(-6.0f, 0.0f, 0.0f);
    tube->m_to = float3(6.0f, 0.0f, 0.0f);
    const int shot = CentreLuma(Frame());
    EXPECT_GT(shot, empty + 20) << "tube " << shot << ", background " << empty;
    // Collapsed, it leaves the view as it was.
    tube->m_radius = 0.0f;
    EXPECT_NEAR(CentreLuma(Frame()), empty, 6);
}

TEST_F(WeaponGLTest, TheBeamTextureRepeatsOutsideZeroToOne)
{
    // A quad facing the camera drawn as the beam draws: additive, no culling.
    auto* quad = Effect<DynamicMeshComponent>("quad");
    quad->SetTexture("strip.dds");
    quad->SetBlendMode(ZOR::BlendMode::Additive);
    quad->SetCullMode(ZOR::CullMode::None);
    const auto draw = [&](float u0, float u1) {
        quad->Clear();
        quad->Push(float3(-2.0f, -2.0f, 0.0f), float2(u0, 1.0f), 1.0f);
        quad->Push(float3(2.0f, -2.0f, 0.0f), float2(u1, 1.0f), 1.0f);
        quad->Push(float3(2.0f, 2.0f, 0.0f), float2(u1, 0.0f), 1.0f);
        quad->Push(float3(-2.0f, -2.0f, 0.0f), float2(u0, 1.0f), 1.0f);
        quad->Push(float3(2.0f, 2.0f, 0.0f), float2(u1, 0.0f), 1.0f);
        quad->Push(float3(-2.0f, 2.0f, 0.0f), float2(u0, 0.0f), 1.0f);
        return CentreLuma(Frame());
    };
    const int bright = draw(0.05f, 0.2f);
    const int dark = draw(0.55f, 0.7f);
    EXPECT_GT(bright, dark + 40) << "bright quarter " << bright << ", dark part " << dark;
    // The same windows whole turns away on either side.
    for (const float turns : {2.0f, -3.0f}) {
        EXPECT_NEAR(draw(0.05f + turns, 0.2f + turns), bright, 6) << turns;
        EXPECT_NEAR(draw(0.55f + turns, 0.7f + turns), dark, 6) << turns;
    }
}

} // namespace
} // namespace quellor::test
