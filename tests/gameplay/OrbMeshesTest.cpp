// The orb's meshes and the charge visuals: frame strips, the shell's scrolling window, the cone
// against the velocity, vertex counts within their buffers, random orientations kept by clones;
// the charge sphere's strips and shrink, and the arm flash along the hand bone.
#include "OrbTestKit.h"

#include "engine/ActionComponent.h"
#include "gameplay/PlayerUtil.h"
#include "gameplay/effects/ArmChargeComponent.h"
#include "gameplay/effects/OrbChargeComponent.h"
#include "gameplay/effects/OrbConeComponent.h"
#include "gameplay/effects/OrbLightningComponent.h"
#include "gameplay/effects/OrbMeshComponent.h"
#include "tests/support/StdoutCapture.h"

#include <memory>

namespace quellor::test {
namespace {

// The range of u over the mesh's vertices.
std::pair<float, float> URange(const ZOR::DynamicMesh& mesh)
{
    float lo = 1e9f;
    float hi = -1e9f;
    for (const ZOR::DynamicMeshVertex& vertex : mesh.Vertices()) {
        lo = std::min(lo, vertex.texCoord.x);
        hi = std::max(hi, vertex.texCoord.x);
    }
    return {lo, hi};
}

void ExpectURange(const ZOR::DynamicMesh& mesh, float lo, float hi)
{
    ASSERT_GT(mesh.NumVerts(), 0u);
    const auto [min, max] = URange(mesh);
    EXPECT_NEAR(min, lo, 1e-4f);
    EXPECT_NEAR(max, hi, 1e-4f);
}

bool SameMatrix(const ZOR::float3x3& a, const ZOR::float3x3& b)
{
    for (int i = 0; i < 9; ++i)
        if (a.m[i] != b.m[i])
            return false;
    return true;
}

class OrbMeshTest : public OrbTest {
protected:
    void SetUp() override
    {
        OrbTest::SetUp();
        holder = world->Spawn("holder", 10.0f, 20.0f, 30.0f);
        body = holder->AddComponent<RigidBodyComponent3D>(true);
        body->SetHasGravity(false);
    }
    template <class Mesh>
    Mesh* Add()
    {
        return holder->AddComponent<Mesh>(true);
    }

    Entity* holder = nullptr;
    RigidBodyComponent3D* body = nullptr;
};

TEST_F(OrbMeshTest, OrbMeshStepsItsStripAndKeepsEveryVertex)
{
    auto* mesh = Add<OrbMeshComponent>();
    EXPECT_EQ(mesh->GetTexture(), "pop_sphere_spin.dds");
    EXPECT_EQ(mesh->GetBlendMode(), ZOR::BlendMode::Alpha);
    EXPECT_EQ(mesh->GetCullMode(), ZOR::CullMode::None);
    mesh->Update(0.1f);
    EXPECT_EQ(mesh->GetFrame(), 2);
    mesh->Update(0.07f);
    EXPECT_EQ(mesh->GetFrame(), 4);
    ExpectURange(*mesh, 0.8f, 1.0f);
    mesh->Update(0.025f);
    EXPECT_EQ(mesh->GetFrame(), 4) << "0.195 s";
    mesh->Update(0.005f);
    EXPECT_EQ(mesh->GetFrame(), 0) << "0.2 s";
    ExpectURange(*mesh, 0.0f, 0.2f);

    // Two spheres of 600 vertices, none cut off: the glow sphere comes second, fainter.
    EXPECT_EQ(mesh->NumVerts(), 1200u);
    EXPECT_GE(mesh->MaxVerts(), 1200u);
    EXPECT_FLOAT_EQ(mesh->Vertices().front().alpha, 1.0f);
    EXPECT_FLOAT_EQ(mesh->Vertices().back().alpha, 0.35f);
    float outer = 0.0f;
    for (const ZOR::DynamicMeshVertex& vertex : mesh->Vertices())
        outer = std::max(outer, (vertex.position - ZOR::float3(10.0f, 20.0f, 30.0f)).Length());
    EXPECT_NEAR(outer, 2.5f, 1e-3f);
}

TEST_F(OrbMeshTest, ShellScrollsAQuarterWindowOncePerSecond)
{
    auto* shell = Add<OrbLightningComponent>();
    EXPECT_EQ(shell->GetTexture(), "pop_sphere_shell.dds");
    EXPECT_EQ(shell->GetBlendMode(), ZOR::BlendMode::Additive);
    shell->Update(0.3f);
    EXPECT_NEAR(shell->GetPhase(), 0.3f, 1e-5f);
    ExpectURange(*shell, 0.3f, 0.55f);
    shell->Update(0.8f);
    EXPECT_NEAR(shell->GetPhase(), 0.1f, 1e-5f);
    ExpectURange(*shell, 0.1f, 0.35f);
    shell->Update(0.8f);
    // Past the texture's edge: the shader wraps u.
    ExpectURange(*shell, 0.9f, 1.15f);
    EXPECT_EQ(shell->NumVerts(), 600u);
}

TEST_F(OrbMeshTest, ConeOpensAgainstTheVelocityAndRestsAlongZero)
{
    auto* cone = Add<OrbConeComponent>();
    EXPECT_EQ(cone->GetTexture(), "pop_cone.dds");
    body->SetLinearVelocity(Vec4(0.0f, 0.0f, 40.0f, 0.0f));
    cone->Update(0.12f);
    ExpectNear3(cone->GetDirection(), ZOR::float3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(cone->GetFrame(), 2);
    ASSERT_EQ(cone->NumVerts(), 60u);
    // Tip at the entity, rim 2.5 behind it.
    float back = 0.0f;
    float vLo = 1.0f;
    float vHi = 0.0f;
    for (const ZOR::DynamicMeshVertex& vertex : cone->Vertices()) {
        back = std::min(back, vertex.position.z - 30.0f);
        vLo = std::min(vLo, vertex.texCoord.y);
        vHi = std::max(vHi, vertex.texCoord.y);
    }
    EXPECT_NEAR(back, -2.5f, 1e-3f);
    EXPECT_NEAR(vLo, 0.1f, 1e-5f);
    EXPECT_NEAR(vHi, 0.9f, 1e-5f);
    ExpectURange(*cone, 0.4f, 0.6f);

    body->SetLinearVelocity(Vec4());
    cone->Update(0.0f);
    ExpectNear3(cone->GetDirection(), ZOR::float3());
    for (const ZOR::DynamicMeshVertex& vertex : cone->Vertices())
        EXPECT_TRUE(IsFinite(vertex.position));
}

TEST_F(OrbMeshTest, ClonesKeepTheOrientationAndNewMeshesDrawTheirOwn)
{
    OrbMeshComponent first;
    OrbMeshComponent second;
    EXPECT_FALSE(SameMatrix(first.GetOrientation(), second.GetOrientation()));
    std::unique_ptr<Component> copy(first.Clone());
    auto* clone = dynamic_cast<OrbMeshComponent*>(copy.get());
    ASSERT_NE(clone, nullptr);
    EXPECT_TRUE(SameMatrix(clone->GetOrientation(), first.GetOrientation()));
    EXPECT_EQ(clone->MaxVerts(), first.MaxVerts());

    OrbLightningComponent shell;
    std::unique_ptr<Component> shellCopy(shell.Clone());
    EXPECT_TRUE(SameMatrix(dynamic_cast<OrbLightningComponent*>(shellCopy.get())->GetOrientation(),
                           shell.GetOrientation()));
    // A random orientation is a rotation.
    const ZOR::float3x3& r = first.GetOrientation();
    for (int row = 0; row < 3; ++row)
        EXPECT_NEAR(ZOR::float3(r.m[row * 3], r.m[row * 3 + 1], r.m[row * 3 + 2]).Length(), 1.0f, 1e-4f);
}

TEST_F(OrbMeshTest, SpawnedOrbsTurnTheirTexturesDifferently)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    world->Step();
    Entity* a = RestingOrb(shooter);
    Entity* b = RestingOrb(shooter);
    EXPECT_FALSE(SameMatrix(a->GetComponent<OrbMeshComponent>()->GetOrientation(),
                            b->GetComponent<OrbMeshComponent>()->GetOrientation()));
    world->Step();
    // The graphics system rebuilds them every frame.
    EXPECT_EQ(a->GetComponent<OrbMeshComponent>()->NumVerts(), 1200u);
    EXPECT_EQ(a->GetComponent<OrbLightningComponent>()->NumVerts(), 600u);
    EXPECT_EQ(a->GetComponent<OrbConeComponent>()->NumVerts(), 60u);
}

TEST_F(OrbMeshTest, ChargeSphereSwitchesToTheSpinStripAfterOneRound)
{
    holder->AddComponent<ActionComponent>(true);
    auto* charge = Add<OrbChargeComponent>();
    EXPECT_TRUE(charge->GetTexture().empty());
    charge->Update(0.1f);
    EXPECT_EQ(charge->NumVerts(), 0u) << "hidden until a start";

    charge->StartCharge();
    charge->Update(0.24f);
    EXPECT_EQ(charge->GetTexture(), "pop_sphere_charge.dds");
    EXPECT_EQ(charge->GetFrame(), 4);
    charge->StartCharge();
    charge->Update(0.25f);
    EXPECT_EQ(charge->GetTexture(), "pop_sphere_spin.dds");
    EXPECT_EQ(charge->GetFrame(), 0);
    charge->Update(0.3f);
    EXPECT_EQ(charge->GetTexture(), "pop_sphere_spin.dds");
    EXPECT_EQ(charge->NumVerts(), 600u);
}

TEST_F(OrbMeshTest, ChargeSphereRadiusFollowsTheShrinkThenHides)
{
    holder->AddComponent<ActionComponent>(true);
    auto* charge = Add<OrbChargeComponent>();
    const Vec4 centre(5.0f, 6.0f, 7.0f, 1.0f);
    charge->SetCentre(centre);
    auto radius = [&] {
        float r = 0.0f;
        for (const ZOR::DynamicMeshVertex& vertex : charge->Vertices())
            r = std::max(r, (vertex.position - XYZ(centre)).Length());
        return r;
    };
    charge->StartCharge();
    world->Step();
    EXPECT_NEAR(radius(), 1.0f, 1e-4f);
    EXPECT_FLOAT_EQ(charge->Vertices().front().alpha, 0.5f);
    charge->StopCharge();
    world->StepDt(0.1f);
    EXPECT_NEAR(charge->GetScale(), 0.5f, 0.02f);
    EXPECT_NEAR(radius(), charge->GetScale(), 1e-4f);
    world->StepDt(0.1f);
    world->Step(2);
    EXPECT_FALSE(charge->IsVisible());
    EXPECT_EQ(charge->NumVerts(), 0u);

    // Without an action component the sphere hides at once.
    Entity* bare = world->Spawn("bare", 0.0f, 0.0f, 0.0f);
    auto* lone = bare->AddComponent<OrbChargeComponent>(true);
    lone->StartCharge();
    tarsel::test::StdoutCapture out;
    lone->StopCharge();
    EXPECT_NE(out.Text().find("no ActionComponent"), std::string::npos);
    EXPECT_FALSE(lone->IsVisible());
}

TEST_F(OrbMeshTest, ArmFlashRunsAlongTheHandBone)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    world->Step(2);
    auto* flash = shooter->AddComponent<ArmChargeComponent>(true);
    EXPECT_EQ(flash->GetTexture(), "pop_cylinder.dds");
    EXPECT_EQ(flash->GetBlendMode(), ZOR::BlendMode::Additive);
    flash->Update(0.1f);
    EXPECT_EQ(flash->NumVerts(), 0u) << "idle";

    flash->Start();
    flash->Update(0.24f);
    EXPECT_NEAR(flash->GetTimeLeft(), 0.06f, 1e-5f);
    ASSERT_GT(flash->NumVerts(), 0u);
    const ZOR::float3 a = XYZ(PlayerUtil::HandPoint(*shooter));
    const ZOR::float3 b = XYZ(PlayerUtil::HandBonePoint(*shooter, ArmChargeComponent::kForearmPoint));
    const ZOR::float3 axis = (b - a).Normalized();
    float along = 0.0f;
    for (const ZOR::DynamicMeshVertex& vertex : flash->Vertices()) {
        const ZOR::float3 offset = vertex.position - a;
        const float t = offset.Dot(axis);
        along = std::max(along, t);
        EXPECT_NEAR((offset - axis * t).Length(), 0.6f, 1e-3f);
        EXPECT_FLOAT_EQ(vertex.alpha, 0.5f);
    }
    EXPECT_NEAR(along, (b - a).Length(), 1e-3f);
    ExpectURange(*flash, 9.0f / 12.0f, 10.0f / 12.0f);

    // A start mid-flash runs the whole length again.
    flash->Start();
    flash->Update(0.0f);
    EXPECT_NEAR(flash->GetTimeLeft(), 0.3f, 1e-6f);
    for (const ZOR::DynamicMeshVertex& vertex : flash->Vertices())
        EXPECT_FLOAT_EQ(vertex.alpha, 1.0f);
    flash->Update(0.3f);
    EXPECT_EQ(flash->NumVerts(), 0u);
}

TEST_F(OrbMeshTest, HandPointTurnsWithThePlayerButIgnoresItsScale)
{
    Entity* shooter = Player("shooter", "red", -60.0f, 0.0f);
    world->Step(2);
    auto* transform = shooter->GetComponent<Transform3D>();
    const ZOR::float3 straight = XYZ(PlayerUtil::HandPoint(*shooter)) - Place(shooter);
    // A quarter turn about y, and a scale that must not apply.
    transform->m_rotation = Quat(0.0f, 0.70710677f, 0.0f, 0.70710677f);
    transform->SetScale(3.0f, 3.0f, 3.0f);
    const ZOR::float3 turned = XYZ(PlayerUtil::HandPoint(*shooter)) - Place(shooter);
    ExpectNear3(turned, ZOR::float3(straight.z, straight.y, -straight.x));

    // Without a skinned model: the point in model space, one warning.
    Entity* plain = world->Spawn("plain", 1.0f, 2.0f, 3.0f);
    tarsel::test::StdoutCapture out;
    ExpectNear3(XYZ(PlayerUtil::HandPoint(*plain)), ZOR::float3(1.0f - 6.5f, 2.0f + 13.2f, 3.0f - 0.2f));
    PlayerUtil::HandPoint(*plain);
    const std::string& text = out.Text();
    EXPECT_NE(text.find("no skinned model"), std::string::npos) << text;
    EXPECT_EQ(text.find("no skinned model"), text.rfind("no skinned model"));
}

} // namespace
} // namespace quellor::test
