// Models, skinned models, sprites, backdrops and emitters on entities: what each hands the
// renderer from its transform, clones finding their own transform, the emitter's file rules
// and game-logic gating, and the dynamic mesh's copied buffer.
#include "engine/ResourceSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/BackdropComponent.h"
#include "engine/graphics/Convert.h"
#include "engine/graphics/DynamicMeshComponent.h"
#include "engine/graphics/EmitterComponent.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "tests/engine/graphics/GraphicsTestKit.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <cmath>

namespace quellor::test {
namespace {

const float kHalf = std::sqrt(0.5f);

TEST_F(GraphicsTest, AModelTakesTheTransformsTRSMatrixAndLeavesTheStoredOneAlone)
{
    Entity* entity = Placed("model", 1.0f, 2.0f, 3.0f);
    auto* t = entity->GetComponent<Transform3D>();
    t->SetScale(2.0f, 3.0f, 4.0f);
    t->m_rotation = Quat(0.0f, kHalf, 0.0f, kHalf); // 90 degrees about Y
    auto* model = entity->AddComponent<GraphicsComponent3D>(true);
    model->m_glowStrength = 0.5f;
    engine->Update(0.016f);

    // The transform's own T·R·S build (checked element by element in its own tests).
    const ZOR::float4x4& world = model->GetInstance().world;
    const ZOR::float4x4 built = ToFloat4x4(t->BuildWorldMatrix());
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(world.m[i], built.m[i]) << i;
    EXPECT_NEAR(world.m[8], -2.0f, 1e-5f);
    EXPECT_EQ(world.m[3], 1.0f);
    EXPECT_EQ(model->GetInstance().glowStrength, 0.5f);
    // The graphics update never writes back into the transform.
    const Mat4 stored = t->GetWorldMatrix();
    EXPECT_EQ(stored.m00, 1.0f);
    EXPECT_EQ(stored.m03, 0.0f);

    // A moved transform moves the model in the next frame.
    t->m_x = -7.0f;
    engine->Update(0.016f);
    EXPECT_EQ(model->GetInstance().world.m[3], -7.0f);
}

TEST_F(GraphicsTest, AClonedModelFindsItsOwnEntitysTransform)
{
    Entity* a = Placed("a", 5.0f, 0.0f, 0.0f);
    auto* original = a->AddComponent<GraphicsComponent3D>(true);
    original->m_modelName = "cube.model";
    engine->Update(0.016f);
    Entity* b = Placed("b", -5.0f, 0.0f, 0.0f);
    auto* clone = static_cast<GraphicsComponent3D*>(original->Clone());
    EXPECT_EQ(clone->m_transform, nullptr);
    EXPECT_EQ(clone->m_modelName, "cube.model");
    b->AddComponent(GraphicsComponent3D::ID, clone, true);
    engine->Update(0.016f);
    EXPECT_EQ(clone->GetInstance().world.m[3], -5.0f);
    EXPECT_EQ(original->GetInstance().world.m[3], 5.0f);
    EXPECT_EQ(graphics->GetGraphicsComponent3Ds().size(), 2u);
}

TEST_F(GraphicsTest, ASpritesSizeIsTheScaleAndItsRotationIsIgnored)
{
    Entity* entity = engine->CreateEntity("sprite", "default");
    auto* t = entity->AddComponent<Transform2D>(true);
    t->m_x = 100.0f;
    t->m_y = 50.0f;
    t->m_scaleX = 30.0f;
    t->m_scaleY = 40.0f;
    t->m_rotation = 1.0f;
    auto* sprite = entity->AddComponent<GraphicsComponent2D>(true);
    EXPECT_EQ(graphics->Get2DList(), std::vector<ZOR::Renderable2D*>{sprite});
    // Registered, the sprite took the renderer's default material.
    EXPECT_NE(sprite->GetMaterial(), nullptr);
    engine->Update(0.016f);
    EXPECT_EQ(sprite->GetSize().x, 30.0f);
    EXPECT_EQ(sprite->GetSize().y, 40.0f);
    EXPECT_EQ(sprite->GetPosition().x, 100.0f);
    EXPECT_EQ(sprite->GetPosition().y, 50.0f);
    const auto& instance = sprite->GetInstance();
    EXPECT_EQ(instance.size.x, 30.0f); // no rotation folded into the size
}

TEST_F(GraphicsTest, ASkinnedModelMovesOnlyThroughUpdateSkinned)
{
    Entity* entity = Placed("hero", 4.0f, 0.0f, 0.0f);
    auto* skinned = entity->AddComponent<GraphicsComponent3DSkinned>(true);
    engine->Update(0.016f);
    EXPECT_EQ(skinned->GetInstance().world.m[3], 0.0f);
    graphics->UpdateSkinned(0.016f);
    EXPECT_EQ(skinned->GetInstance().world.m[3], 4.0f);
    entity->GetComponent<Transform3D>()->m_x = 6.0f;
    engine->Update(0.016f);
    EXPECT_EQ(skinned->GetInstance().world.m[3], 4.0f);
    graphics->UpdateSkinned(0.016f);
    EXPECT_EQ(skinned->GetInstance().world.m[3], 6.0f);
}

TEST_F(GraphicsTest, ABackdropShowsTheSkyAtItsTransformUntilUninitialised)
{
    Entity* entity = Placed("sky", 0.0f, 10.0f, 0.0f);
    entity->GetComponent<Transform3D>()->SetScale(500.0f, 500.0f, 500.0f);
    auto* backdrop = new BackdropComponent;
    backdrop->m_materialName = "sky.mat";
    entity->AddComponent(BackdropComponent::ID, backdrop, true);
    EXPECT_EQ(backdrop->m_skySphere, &graphics->GetSkySphere());
    // The sky sphere belongs to no octree, yet finds its material by name.
    EXPECT_NE(graphics->GetSkySphere().GetMaterial(), nullptr);
    EXPECT_EQ(graphics->GetSkySphere().GetMaterial(), graphics->GetMaterial("sky.mat"));
    EXPECT_TRUE(graphics->IsDrawingSkySphere());
    engine->Update(0.016f);
    const ZOR::float4x4& world = graphics->GetSkySphere().GetInstance().world;
    EXPECT_EQ(world.m[0], 500.0f);
    EXPECT_EQ(world.m[7], 10.0f);
    backdrop->Uninitialize();
    EXPECT_FALSE(graphics->IsDrawingSkySphere());
    EXPECT_EQ(graphics->GetBackdrop(), nullptr);
    backdrop->Initialize();
}

class EmitterTest : public GraphicsTest {
protected:
    // A sphere emitter of radius 3 saved as "sparks.pe" under the working directory, which a
    // resource system of "default" has scanned.
    void WithResources()
    {
        ZOR::ParticleEmitter source;
        source.SetEmitterType(ZOR::ParticleEmitter::SPHERE);
        source.SetSphereRadius(3.0f);
        ASSERT_TRUE(source.Save((dir / "sparks.pe").string()));
        engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
    }
    tarsel::test::TempDir dir;
    tarsel::test::WorkingDirectory cwd{dir.Path()};
};

TEST_F(EmitterTest, AKnownFileLoadsAnUnknownOneKeepsTheParticlesAndAnEmptyOneDoesNothing)
{
    WithResources();
    Entity* entity = Placed("fire");
    auto* emitter = entity->AddComponent<EmitterComponent>(false);
    emitter->m_particleEmitterFile = "";
    emitter->Initialize();
    EXPECT_EQ(emitter->m_particleEmitterFile, "");
    EXPECT_EQ(emitter->GetEmitterType(), ZOR::ParticleEmitter::POINT);

    emitter->SetParticleEmitterFile("sparks.pe");
    EXPECT_EQ(emitter->GetEmitterType(), ZOR::ParticleEmitter::SPHERE);
    EXPECT_EQ(emitter->GetSphereRadius(), 3.0f);

    emitter->SetParticleEmitterFile("missing.pe");
    EXPECT_EQ(emitter->m_particleEmitterFile, "missing.pe");
    EXPECT_EQ(emitter->GetEmitterType(), ZOR::ParticleEmitter::SPHERE);

    emitter->SetParticleEmitterFile("");
    EXPECT_EQ(emitter->m_particleEmitterFile, "missing.pe");
    // The name is case-sensitive.
    emitter->SetEmitterType(ZOR::ParticleEmitter::LINE);
    emitter->SetParticleEmitterFile("SPARKS.pe");
    EXPECT_EQ(emitter->GetEmitterType(), ZOR::ParticleEmitter::LINE);
}

TEST_F(EmitterTest, WithoutAResourceSystemNothingLoadsAndAWarningIsLogged)
{
    Entity* entity = Placed("fire");
    auto* emitter = entity->AddComponent<EmitterComponent>(false);
    emitter->SetEmitterType(ZOR::ParticleEmitter::BOX);
    tarsel::test::StdoutCapture capture;
    emitter->SetParticleEmitterFile("sparks.pe");
    const std::string output = capture.Text();
    EXPECT_NE(output.find("ResourceSystem"), std::string::npos) << output;
    EXPECT_EQ(emitter->m_particleEmitterFile, "sparks.pe");
    EXPECT_EQ(emitter->GetEmitterType(), ZOR::ParticleEmitter::BOX);
}

TEST_F(EmitterTest, AnEmitterFollowsItsTransformOnlyWhileTheGameLogicRuns)
{
    WithResources();
    System* gameLogic = engine->AddSystem("GameLogicSystem", new System, "default");
    Entity* entity = Placed("fire", 1.0f, 2.0f, 3.0f);
    auto* emitter = entity->AddComponent<EmitterComponent>(false);
    emitter->m_offset = Vec4(0.0f, 1.0f, 0.0f, 0.0f);
    emitter->m_particleEmitterFile = "sparks.pe";
    emitter->Initialize();
    EXPECT_EQ(emitter->GetEmitterType(), ZOR::ParticleEmitter::SPHERE);
    engine->Update(0.016f);
    EXPECT_EQ(emitter->GetPosition().x, 1.0f);
    EXPECT_EQ(emitter->GetPosition().y, 3.0f);
    EXPECT_EQ(emitter->GetPosition().z, 3.0f);

    gameLogic->SetActive(false);
    entity->GetComponent<Transform3D>()->m_x = 9.0f;
    engine->Update(0.016f);
    EXPECT_EQ(emitter->GetPosition().x, 1.0f);
    gameLogic->SetActive(true);
    engine->Update(0.016f);
    EXPECT_EQ(emitter->GetPosition().x, 9.0f);
}

TEST_F(GraphicsTest, ACopiedDynamicMeshOwnsNoBufferUntilItIsAdded)
{
    Entity* entity = Placed("beam");
    auto* original = entity->AddComponent<DynamicMeshComponent>(true);
    original->Push(ZOR::float3(1, 2, 3), ZOR::float2(0, 0), 1.0f);
    const ZOR::Handle buffer = original->GetVertexBuffer();
    ASSERT_TRUE(static_cast<bool>(buffer));

    auto* clone = static_cast<DynamicMeshComponent*>(original->Clone());
    EXPECT_FALSE(static_cast<bool>(clone->GetVertexBuffer()));
    EXPECT_EQ(clone->NumVerts(), 1u);
    EXPECT_EQ(clone->MaxVerts(), original->MaxVerts());

    Entity* other = Placed("beam2");
    other->AddComponent(DynamicMeshComponent::ID, clone, true);
    ASSERT_TRUE(static_cast<bool>(clone->GetVertexBuffer()));
    EXPECT_NE(clone->GetVertexBuffer(), buffer);
    // Removing the clone releases its own buffer, not the original's.
    const auto printed = [](const ZOR::Handle& h) {
        return "{" + std::to_string(static_cast<std::uint32_t>(h.type)) + ", " + std::to_string(h.index) + "}";
    };
    const std::string cloneBuffer = printed(clone->GetVertexBuffer());
    context->ClearCalls();
    clone->Uninitialize();
    std::vector<std::string> releases;
    for (const std::string& call : context->Calls())
        if (call.rfind("Release", 0) == 0)
            releases.push_back(call);
    ASSERT_EQ(releases.size(), 1u);
    EXPECT_NE(releases[0].find(cloneBuffer), std::string::npos) << releases[0];
    EXPECT_EQ(releases[0].find(printed(buffer)), std::string::npos) << releases[0];
    EXPECT_EQ(original->GetVertexBuffer(), buffer);
    clone->Initialize();
}

} // namespace
} // namespace quellor::test
