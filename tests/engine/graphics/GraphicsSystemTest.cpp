// The graphics system: its start-up settings, the frame's update order, the arrays' rules,
// the single sun, screen accessors and the effect switches the toggle action uses.
#include "engine/ToggleEffect.h"
#include "engine/graphics/BackdropComponent.h"
#include "engine/graphics/BillboardedQuadComponent.h"
#include "engine/graphics/DecalComponent.h"
#include "engine/graphics/DirectionalLightComponent.h"
#include "engine/graphics/DynamicMeshComponent.h"
#include "engine/graphics/EmitterComponent.h"
#include "engine/graphics/FogComponent.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/PointLightComponent.h"
#include "engine/graphics/SpotLightComponent.h"
#include "engine/graphics/SunComponent.h"
#include "engine/graphics/TextComponent.h"
#include "tests/engine/graphics/GraphicsTestKit.h"

#include <algorithm>

namespace quellor::test {
namespace {

using Log = std::vector<std::string>;

TEST_F(GraphicsTest, InitializeSetsTheRendererUp)
{
    EXPECT_TRUE(graphics->GetInitializeResult());
    EXPECT_NEAR(graphics->GetFOV(), 100.0f * 3.14159265f / 180.0f, 1e-5f); // kept in radians
    EXPECT_EQ(graphics->ZOR::RenderSystem::GetOrthographicProjectionSize().x, 1024.0f);
    EXPECT_EQ(graphics->ZOR::RenderSystem::GetOrthographicProjectionSize().y, 768.0f);
    EXPECT_NE(graphics->GetOctree(), nullptr);
    const auto& settings = graphics->GetSettings();
    EXPECT_EQ(settings.nearPlane, 1.0f);
    EXPECT_EQ(settings.farPlane, 2500.0f);
    EXPECT_FLOAT_EQ(settings.fogColor.r, 0.5f);
    EXPECT_FLOAT_EQ(settings.fogColor.g, 0.4f);
    EXPECT_FLOAT_EQ(settings.fogColor.b, 0.3f);
    EXPECT_EQ(settings.blurFactor, 2.0f);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_TRUE(graphics->EffectEnabled(7, screen)) << screen;
    EXPECT_FALSE(graphics->EffectEnabled(3, 0));
}

TEST_F(GraphicsTest, OneFrameUpdatesTheKindsInTheirFixedOrder)
{
    Log log;
    // The game logic's stand-in: emitters run only while it is active.
    System* gameLogic = engine->AddSystem("GameLogicSystem", new System, "default");
    // Registered in reverse of the update order: the order comes from the kinds, not from
    // the registrations.
    Spy<SunComponent> sun(&log, "sun");
    Spy<BackdropComponent> backdrop(&log, "backdrop");
    Spy<FogComponent> fog1(&log, "fog1"), fog2(&log, "fog2");
    Spy<TextComponent> text(&log, "text");
    Spy<EmitterComponent> emitter(&log, "emitter");
    Spy<SpotLightComponent> spot(&log, "spot");
    Spy<PointLightComponent> point(&log, "point");
    Spy<DirectionalLightComponent> directional(&log, "directional");
    Spy<BillboardedQuadComponent> billboard(&log, "billboard");
    Spy<DynamicMeshComponent> mesh(&log, "mesh");
    Spy<DecalComponent> decal1(&log, "decal1"), decal2(&log, "decal2");
    Spy<GraphicsComponent3DSkinned> skinned(&log, "skinned");
    Spy<GraphicsComponent3D> model(&log, "model");
    Spy<GraphicsComponent2D> sprite(&log, "sprite");
    graphics->RegisterSunComponent(&sun);
    graphics->RegisterBackdropComponent(&backdrop);
    graphics->RegisterFogComponent(&fog1);
    graphics->RegisterFogComponent(&fog2);
    graphics->RegisterTextComponent(&text);
    graphics->RegisterEmitterComponent(&emitter);
    graphics->RegisterSpotLightComponent(&spot);
    graphics->RegisterPointLightComponent(&point);
    graphics->RegisterDirectionalLightComponent(&directional);
    graphics->RegisterBillboardedQuadComponent(&billboard);
    graphics->RegisterDynamicMeshComponent(&mesh);
    graphics->RegisterDecalComponent(&decal1);
    graphics->RegisterDecalComponent(&decal2);
    graphics->RegisterGraphicsComponent3DSkinned(&skinned);
    graphics->RegisterGraphicsComponent3D(&model);
    graphics->RegisterGraphicsComponent2D(&sprite);

    const Log all{"sprite", "model",   "decal1", "decal2", "mesh", "billboard", "directional", "point",
                  "spot",   "emitter", "text",   "fog1",   "fog2", "backdrop",  "sun"};
    engine->Update(0.016f);
    EXPECT_EQ(log, all);

    // Paused: everything but the emitters; skinned models never come from the frame.
    gameLogic->SetActive(false);
    log.clear();
    engine->Update(0.016f);
    Log paused = all;
    paused.erase(std::find(paused.begin(), paused.end(), "emitter"));
    EXPECT_EQ(log, paused);

    // Skinned models move only when the game logic asks.
    log.clear();
    graphics->UpdateSkinned(0.016f);
    EXPECT_EQ(log, Log{"skinned"});

    graphics->UnregisterSunComponent(&sun);
    graphics->UnregisterBackdropComponent(&backdrop);
    graphics->UnregisterFogComponent(&fog1);
    graphics->UnregisterFogComponent(&fog2);
    graphics->UnregisterTextComponent(&text);
    graphics->UnregisterEmitterComponent(&emitter);
    graphics->UnregisterSpotLightComponent(&spot);
    graphics->UnregisterPointLightComponent(&point);
    graphics->UnregisterDirectionalLightComponent(&directional);
    graphics->UnregisterBillboardedQuadComponent(&billboard);
    graphics->UnregisterDynamicMeshComponent(&mesh);
    graphics->UnregisterDecalComponent(&decal1);
    graphics->UnregisterDecalComponent(&decal2);
    graphics->UnregisterGraphicsComponent3DSkinned(&skinned);
    graphics->UnregisterGraphicsComponent3D(&model);
    graphics->UnregisterGraphicsComponent2D(&sprite);
    log.clear();
    engine->Update(0.016f);
    graphics->UpdateSkinned(0.016f);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(graphics->GetOctreeList().empty());
    EXPECT_TRUE(graphics->Get2DList().empty());
    EXPECT_TRUE(graphics->GetTextList().empty());
    EXPECT_TRUE(graphics->GetSpotLightList().empty());
    EXPECT_TRUE(graphics->GetDynamicMeshList().empty());
    EXPECT_TRUE(graphics->GetDirectionalLightList().empty());
}

TEST_F(GraphicsTest, ADrawFilterSkipsDrawingButNotTheComponents)
{
    Log log;
    Spy<GraphicsComponent2D> sprite(&log, "sprite");
    graphics->RegisterGraphicsComponent2D(&sprite);
    auto swaps = [&] { return static_cast<int>(context->Count("SwapBuffers")); };
    int update = 0;
    graphics->SetDrawFilter([&] { return ++update % 3 == 0; });
    const auto before = swaps();
    for (int i = 0; i < 6; ++i)
        engine->Update(0.016f);
    EXPECT_EQ(swaps() - before, 2); // the third and sixth updates drew
    EXPECT_EQ(std::count(log.begin(), log.end(), "sprite"), 6);
    graphics->SetDrawFilter(nullptr);
    engine->Update(0.016f);
    EXPECT_EQ(swaps() - before, 3);
    graphics->UnregisterGraphicsComponent2D(&sprite);
}

TEST_F(GraphicsTest, WithoutAGameLogicEmittersStayFrozen)
{
    Log log;
    Spy<EmitterComponent> emitter(&log, "emitter");
    Spy<PointLightComponent> point(&log, "point");
    graphics->RegisterEmitterComponent(&emitter);
    graphics->RegisterPointLightComponent(&point);
    engine->Update(0.016f);
    EXPECT_EQ(log, Log{"point"});
    graphics->UnregisterEmitterComponent(&emitter);
    graphics->UnregisterPointLightComponent(&point);
}

TEST_F(GraphicsTest, ASecondBackdropReplacesTheFirstAndEitherUninitialisationClearsIt)
{
    Entity* first = Placed("sky1");
    Entity* second = Placed("sky2");
    auto* a = first->AddComponent<BackdropComponent>(true);
    EXPECT_TRUE(graphics->IsDrawingSkySphere());
    EXPECT_EQ(graphics->GetBackdrop(), a);
    auto* b = second->AddComponent<BackdropComponent>(true);
    EXPECT_EQ(graphics->GetBackdrop(), b);
    // The first one going away hides the sky, although the second registered later.
    a->Uninitialize();
    EXPECT_EQ(graphics->GetBackdrop(), nullptr);
    EXPECT_FALSE(graphics->IsDrawingSkySphere());
    b->Initialize();
    b->Uninitialize();
    a->Initialize();
}

TEST_F(GraphicsTest, RegistrationReachesTheRendererThroughTheRightBase)
{
    DecalComponent decal;
    PointLightComponent point;
    BillboardedQuadComponent billboard;
    SpotLightComponent spot;
    DirectionalLightComponent directional;
    TextComponent text;
    DynamicMeshComponent mesh;
    FogComponent fog;
    graphics->RegisterDecalComponent(&decal);
    graphics->RegisterPointLightComponent(&point);
    graphics->RegisterBillboardedQuadComponent(&billboard);
    graphics->RegisterSpotLightComponent(&spot);
    graphics->RegisterDirectionalLightComponent(&directional);
    graphics->RegisterTextComponent(&text);
    graphics->RegisterDynamicMeshComponent(&mesh);
    graphics->RegisterFogComponent(&fog);
    EXPECT_EQ(graphics->GetOctreeList(),
              (std::vector<ZOR::Renderable*>{static_cast<ZOR::Decal*>(&decal), static_cast<ZOR::PointLight*>(&point),
                                             static_cast<ZOR::BillboardedQuad*>(&billboard)}));
    EXPECT_EQ(graphics->GetSpotLightList(), std::vector<ZOR::SpotLight*>{&spot});
    EXPECT_EQ(graphics->GetDirectionalLightList(), std::vector<ZOR::DirectionalLight*>{&directional});
    EXPECT_EQ(graphics->GetTextList(), std::vector<ZOR::Text*>{&text});
    EXPECT_EQ(graphics->GetDynamicMeshList(), std::vector<ZOR::DynamicMesh*>{&mesh});
    // The mesh got its vertex buffer; the billboard its default material.
    EXPECT_TRUE(static_cast<bool>(mesh.GetVertexBuffer()));
    EXPECT_NE(billboard.GetMaterial(), nullptr);
    EXPECT_EQ(graphics->GetFogComponents(), std::vector<FogComponent*>{&fog});

    graphics->UnregisterDecalComponent(&decal);
    graphics->UnregisterPointLightComponent(&point);
    graphics->UnregisterBillboardedQuadComponent(&billboard);
    graphics->UnregisterSpotLightComponent(&spot);
    graphics->UnregisterDirectionalLightComponent(&directional);
    graphics->UnregisterTextComponent(&text);
    graphics->UnregisterDynamicMeshComponent(&mesh);
    graphics->UnregisterFogComponent(&fog);
}

TEST_F(GraphicsTest, ADoubleRegistrationNeedsTwoRemovalsAndOrderIsKept)
{
    FogComponent a, b, c;
    graphics->RegisterFogComponent(&a);
    graphics->RegisterFogComponent(&b);
    graphics->RegisterFogComponent(&a);
    graphics->RegisterFogComponent(&c);
    graphics->UnregisterFogComponent(&a);
    EXPECT_EQ(graphics->GetFogComponents(), (std::vector<FogComponent*>{&b, &a, &c}));
    graphics->UnregisterFogComponent(&a);
    EXPECT_EQ(graphics->GetFogComponents(), (std::vector<FogComponent*>{&b, &c}));
    graphics->UnregisterFogComponent(&a);
    EXPECT_EQ(graphics->GetFogComponents(), (std::vector<FogComponent*>{&b, &c}));
    graphics->UnregisterFogComponent(&b);
    graphics->UnregisterFogComponent(&c);
    EXPECT_TRUE(graphics->GetFogComponents().empty());
}

TEST_F(GraphicsTest, RemovingAnAbsentComponentStillCallsTheRenderersRemove)
{
    TextComponent registered, stray;
    graphics->RegisterTextComponent(&registered);
    // Known to the renderer but not to the array.
    graphics->AddRenderable(static_cast<ZOR::Text*>(&stray));
    graphics->UnregisterTextComponent(&stray);
    EXPECT_EQ(graphics->GetTextComponents(), std::vector<TextComponent*>{&registered});
    EXPECT_EQ(graphics->GetTextList(), std::vector<ZOR::Text*>{&registered});
    graphics->UnregisterTextComponent(&registered);
    EXPECT_TRUE(graphics->GetTextList().empty());
}

TEST_F(GraphicsTest, ASecondSunReplacesTheFirstAndEitherUnregistrationClearsIt)
{
    Log log;
    Spy<SunComponent> first(&log, "first"), second(&log, "second");
    graphics->RegisterSunComponent(&first);
    graphics->RegisterSunComponent(&second);
    EXPECT_EQ(graphics->GetSun(), &second);
    engine->Update(0.016f);
    EXPECT_EQ(log, Log{"second"});
    graphics->UnregisterSunComponent(&first);
    EXPECT_EQ(graphics->GetSun(), nullptr);
    engine->Update(0.016f);
    EXPECT_EQ(log, Log{"second"});
}

TEST_F(GraphicsTest, ScreenAccessorsClampTheScreenNumber)
{
    EXPECT_EQ(&graphics->GetActiveCamera(-3), &graphics->GetScreen(0).GetActiveCamera());
    EXPECT_EQ(&graphics->GetActiveCamera(2), &graphics->GetScreen(2).GetActiveCamera());
    EXPECT_EQ(&graphics->GetActiveCamera(7), &graphics->GetScreen(3).GetActiveCamera());
    EXPECT_EQ(graphics->GetOrthographicProjectionSize(-1).x, 1024.0f);
    const ZOR::float2 last = graphics->GetScreen(3).GetOrthographicProjectionSize();
    EXPECT_EQ(graphics->GetOrthographicProjectionSize(9).x, last.x);
    EXPECT_EQ(graphics->GetOrthographicProjectionSize(9).y, last.y);
    EXPECT_EQ(graphics->GetWindowHandle(), window);
}

TEST_F(GraphicsTest, ToggleEffectFlipsTheRenderersSwitches)
{
    ToggleEffect one(3, 1);
    one.SetInjector(engine->GetInjector());
    one.Start();
    EXPECT_TRUE(graphics->ZOR::RenderSystem::EffectEnabled(ZOR::RenderSystem::Bloom, 1));
    EXPECT_FALSE(graphics->ZOR::RenderSystem::EffectEnabled(ZOR::RenderSystem::Bloom, 0));

    ToggleEffect all(7, -1);
    all.SetInjector(engine->GetInjector());
    all.Start();
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_FALSE(graphics->ZOR::RenderSystem::EffectEnabled(ZOR::RenderSystem::GlobalVolumetricFog, screen));
}

TEST_F(GraphicsTest, TheShadowCastersBoundsAreDrawnEveryFrame)
{
    // The frame empties the drawer once drawn, so look before the renderer's part.
    ZOR::DebugDrawer& drawer = graphics->GetDebugDrawer(true);
    const auto before = drawer.GetSize();
    graphics->UpdateComponents(0.016f);
    EXPECT_GT(drawer.GetSize(), before);
    engine->Update(0.016f);
    EXPECT_EQ(drawer.GetSize(), 0u);
}

TEST_F(GraphicsTest, WithoutAGraphicsSystemComponentsSkipRegistration)
{
    engine->CreateSpace("side");
    Entity* entity = engine->CreateEntity("lonely", "side");
    entity->AddComponent<Transform3D>(true);
    auto* fog = entity->AddComponent<FogComponent>(true);
    auto* point = entity->AddComponent<PointLightComponent>(true);
    ASSERT_NE(fog, nullptr);
    ASSERT_NE(point, nullptr);
    EXPECT_TRUE(graphics->GetFogComponents().empty());
    EXPECT_TRUE(graphics->GetPointLightComponents().empty());
    engine->DestroySpace("side");
    engine->Update(0.016f);
}

} // namespace
} // namespace quellor::test
