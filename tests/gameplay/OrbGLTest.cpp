// The orb's meshes on OpenGL: an orb and a charge sphere change the pixels they cover, and a
// texture window past u = 1 (the shell's scroll) samples the texture as its wrapped window does.
#include "engine/Entity.h"
#include "engine/Transform3D.h"
#include "engine/graphics/DynamicMeshComponent.h"
#include "gameplay/effects/OrbChargeComponent.h"
#include "gameplay/effects/OrbMeshComponent.h"
#include "tests/gameplay/EffectGLKit.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quellor::test {
namespace {

class OrbGLTest : public EffectGLTest {
protected:
    void SetUp() override
    {
        EffectGLTest::SetUp();
        // Five frames of white, and a strip white in its first quarter only.
        for (const char* name : {"pop_sphere_spin.dds", "pop_sphere_charge.dds"})
            AddTexture(name, PlainImage(20, 4, 255));
        AddTexture("quarter.dds", QuarterStrip(255));
    }
};

TEST_F(OrbGLTest, OrbAndChargeSphereChangeThePixelsTheyCover)
{
    const int empty = CentreLuma(Frame());
    Entity* orb = engine->CreateEntity("orb", "default");
    orb->AddComponent<Transform3D>(true);
    orb->AddComponent<OrbMeshComponent>(true);
    const int withOrb = CentreLuma(Frame());
    EXPECT_GT(withOrb, empty + 40) << "orb " << withOrb << ", background " << empty;
    orb->Destroy();
    engine->Update(1.0f / 60.0f);
    EXPECT_NEAR(CentreLuma(Frame()), empty, 6);

    Entity* player = engine->CreateEntity("player", "default");
    player->AddComponent<Transform3D>(true);
    auto* charge = player->AddComponent<OrbChargeComponent>(true);
    charge->SetCentre(Vec4(0.0f, 0.0f, 0.0f, 1.0f));
    charge->StartCharge();
    const int withCharge = CentreLuma(Frame());
    EXPECT_GT(withCharge, empty + 20) << "charge " << withCharge << ", background " << empty;
}

TEST_F(OrbGLTest, WindowPastTheTextureEdgeSamplesLikeItsWrappedWindow)
{
    Entity* holder = engine->CreateEntity("holder", "default");
    holder->AddComponent<Transform3D>(true);
    auto* mesh = static_cast<DynamicMeshComponent*>(
        holder->AddComponent("DynamicMeshComponent", new DynamicMeshComponent(600), true));
    mesh->SetTexture("quarter.dds");
    const ZOR::float3x3 still;
    auto draw = [&](float u0) {
        mesh->Clear();
        mesh->Sphere(ZOR::float3(), 3.0f, 1.0f, 10, ZOR::float2(u0, 0.0f), ZOR::float2(u0 + 0.25f, 1.0f), still);
        return Frame();
    };
    // The update of the base class leaves the mesh as built here.
    const auto low = draw(0.0f);
    const auto high = draw(1.0f);
    const auto dark = draw(0.5f);
    ASSERT_EQ(low.bytes.size(), high.bytes.size());
    int differing = 0;
    for (std::size_t i = 0; i < low.bytes.size(); ++i)
        differing += std::abs(static_cast<int>(low.bytes[i]) - static_cast<int>(high.bytes[i])) > 8 ? 1 : 0;
    EXPECT_LT(differing, static_cast<int>(low.bytes.size() / 200)) << "u 1.0-1.25 against u 0.0-0.25";
    EXPECT_GT(CentreLuma(low), CentreLuma(dark) + 40) << "the white quarter shows, the dark half does not";
}

} // namespace
} // namespace quellor::test
