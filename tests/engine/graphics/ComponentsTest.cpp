// The graphics components on entities: what each hands the renderer from its transform and
// fields, clones, the lights' first frame, the text's font and value, sun and fog.
#include "engine/Transform2D.h"
#include "engine/graphics/BillboardedQuadComponent.h"
#include "engine/graphics/DecalComponent.h"
#include "engine/graphics/DirectionalLightComponent.h"
#include "engine/graphics/FogComponent.h"
#include "engine/graphics/PointLightComponent.h"
#include "engine/graphics/SpotLightComponent.h"
#include "engine/graphics/SunComponent.h"
#include "engine/graphics/TextComponent.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/ReadVariable.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "engine/reflection/Variable.h"
#include "tests/engine/graphics/GraphicsTestKit.h"
#include "tests/support/ContentDir.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>

namespace quellor::test {
namespace {

std::string FontPath(const std::string& name)
{
    return (tarsel::test::ContentDir() / "fonts" / name).string();
}

// Reads a component element the way level files give it, through the reflection records.
template <class T>
T* ReadComponent(const char* xml)
{
    RegisterEngineTypes();
    TiXmlDocument document;
    document.Parse(xml);
    EXPECT_FALSE(document.Error()) << xml;
    std::unique_ptr<Variable> box(ReadVariable(document.RootElement(), nullptr));
    EXPECT_NE(box, nullptr);
    return box ? static_cast<T*>(box->Value()) : nullptr;
}

// Whether no row of the matrix is all zeros.
bool RowsNonZero(const ZOR::float4x4& m)
{
    for (int r = 0; r < 4; ++r) {
        bool any = false;
        for (int c = 0; c < 4; ++c)
            any = any || std::fabs(m.m[r * 4 + c]) > 1e-6f;
        if (!any)
            return false;
    }
    return true;
}

TEST_F(GraphicsTest, ADecalTakesItsTransformsPositionAndScalesEveryFrame)
{
    Entity* entity = Placed("decal", 1.0f, 2.0f, 3.0f);
    entity->GetComponent<Transform3D>()->SetScale(2.0f, 1.0f, 2.0f);
    auto* decal = entity->AddComponent<DecalComponent>(false);
    decal->m_alpha = 0.25f;
    decal->Initialize();
    engine->Update(0.016f);
    EXPECT_EQ(decal->m_position.x, 1.0f);
    EXPECT_EQ(decal->m_position.z, 3.0f);
    EXPECT_EQ(decal->m_scale.x, 2.0f);
    EXPECT_EQ(decal->m_scale.y, 1.0f);
    EXPECT_EQ(decal->m_scale.z, 2.0f);
    EXPECT_EQ(decal->GetAlpha(), 0.25f);
    // Bounds follow the box.
    EXPECT_NEAR(decal->GetAABB().max.x - decal->GetAABB().min.x, 2.0f, 1e-4f);

    entity->GetComponent<Transform3D>()->m_x = 50.0f;
    engine->Update(0.016f);
    EXPECT_EQ(decal->m_position.x, 50.0f);
    // Drawing does not touch the stored matrix.
    EXPECT_EQ(entity->GetComponent<Transform3D>()->GetWorldMatrix().m03, 0.0f);
}

TEST_F(GraphicsTest, AClonedDecalFindsItsOwnEntitysTransform)
{
    Entity* first = Placed("first", 1.0f, 1.0f, 1.0f);
    auto* decal = first->AddComponent<DecalComponent>(true);
    engine->Update(0.016f);
    ASSERT_EQ(decal->m_transform, first->GetComponent<Transform3D>());

    Entity* second = Placed("second", 9.0f, 8.0f, 7.0f);
    auto* clone = dynamic_cast<DecalComponent*>(decal->Clone());
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(clone->m_transform, nullptr);
    EXPECT_EQ(clone->m_alpha, decal->m_alpha);
    second->AddComponent(DecalComponent::ID, clone, true);
    engine->Update(0.016f);
    EXPECT_EQ(clone->m_transform, second->GetComponent<Transform3D>());
    EXPECT_EQ(clone->m_position.x, 9.0f);
    EXPECT_EQ(decal->m_position.x, 1.0f);
    EXPECT_EQ(graphics->GetDecalComponents().size(), 2u);
}

TEST_F(GraphicsTest, PointAndSpotValuesReachTheRendererFromTheSecondUpdate)
{
    Entity* entity = Placed("lights", 4.0f, 5.0f, 6.0f);
    auto* point = entity->AddComponent<PointLightComponent>(true);
    point->SetColor(0.5f, 0.25f, 0.125f);
    point->SetIntensity(3.0f);
    point->SetRadius(7.0f);
    auto* spot = entity->AddComponent<SpotLightComponent>(true);
    spot->m_direction = Vec4(0.0f, -1.0f, 0.0f, 0.0f);
    spot->m_radius = 12.0f;

    const float defaultIntensity = ZOR::PointLight().GetIntensity();
    engine->Update(0.016f);
    EXPECT_EQ(point->GetIntensity(), defaultIntensity);
    EXPECT_NE(point->GetPosition().x, 4.0f);
    EXPECT_NE(spot->GetRadius(), 12.0f);

    engine->Update(0.016f);
    EXPECT_EQ(point->GetIntensity(), 3.0f);
    EXPECT_EQ(point->GetRadius(), 7.0f);
    EXPECT_EQ(point->GetColor().g, 0.25f);
    EXPECT_EQ(point->GetPosition().y, 5.0f);
    EXPECT_EQ(point->GetAABB().max.x, 11.0f);
    EXPECT_EQ(spot->GetRadius(), 12.0f);
    EXPECT_EQ(spot->GetDirection().y, -1.0f);
    EXPECT_NEAR(spot->GetInnerAlpha(), 45.0f, 1e-3f);
    EXPECT_NEAR(spot->GetOuterAlpha(), 60.0f, 1e-3f);
    EXPECT_EQ(spot->GetPosition().z, 6.0f);
}

TEST_F(GraphicsTest, AClonedLightHasTheDefaults)
{
    PointLightComponent point;
    point.SetColor(0.0f, 0.0f, 0.0f);
    point.SetIntensity(9.0f);
    point.SetRadius(9.0f);
    std::unique_ptr<Component> pointClone(point.Clone());
    auto* p = dynamic_cast<PointLightComponent*>(pointClone.get());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->m_intensity, 1.0f);
    EXPECT_EQ(p->m_radius, 1.0f);
    EXPECT_EQ(p->m_color.x, 1.0f);
    EXPECT_EQ(p->m_color.w, 1.0f);

    SpotLightComponent spot;
    spot.m_radius = 1.0f;
    spot.m_innerAlpha = 2.0f;
    std::unique_ptr<Component> spotClone(spot.Clone());
    auto* s = dynamic_cast<SpotLightComponent*>(spotClone.get());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->m_radius, 10.0f);
    EXPECT_EQ(s->m_innerAlpha, 45.0f);
}

TEST_F(GraphicsTest, DirectionalLightAndBillboardFollowTheirFields)
{
    Entity* entity = Placed("sky", 1.0f, 2.0f, 3.0f);
    entity->GetComponent<Transform3D>()->SetScale(4.0f, 5.0f, 6.0f);
    auto* directional = entity->AddComponent<DirectionalLightComponent>(true);
    directional->m_direction = Vec4(0.0f, -1.0f, 0.0f, 9.0f);
    directional->m_color = Vec4(0.2f, 0.3f, 0.4f, 0.0f);
    auto* billboard = entity->AddComponent<BillboardedQuadComponent>(true);
    engine->Update(0.016f);
    EXPECT_EQ(directional->GetDirection().y, -1.0f);
    EXPECT_EQ(directional->GetDirection().w, 0.0f);
    EXPECT_FLOAT_EQ(directional->GetColor().b, 0.4f);
    EXPECT_EQ(directional->GetColor().a, 1.0f);
    EXPECT_EQ(billboard->GetPosition().z, 3.0f);
    EXPECT_EQ(billboard->GetInstance().scale.x, 4.0f);
    EXPECT_EQ(billboard->GetInstance().scale.y, 5.0f);
}

TEST_F(GraphicsTest, ATextsColourIsRewrittenEachFrameAtItsOffsetPosition)
{
    Entity* entity = engine->CreateEntity("label", "default");
    auto* t = entity->AddComponent<Transform2D>(true);
    t->m_x = 10.0f;
    t->m_y = 20.0f;
    auto* text = entity->AddComponent<TextComponent>(true);
    text->m_offset = Vec2(1.0f, 2.0f);
    text->m_color = Vec4(0.1f, 0.2f, 0.3f, 0.4f);
    engine->Update(0.016f);
    text->ZOR::Text::SetColor(1.0f, 0.0f, 0.0f, 1.0f);
    engine->Update(0.016f);
    EXPECT_FLOAT_EQ(text->GetColor().r, 0.1f);
    EXPECT_FLOAT_EQ(text->GetColor().a, 0.4f);
    EXPECT_EQ(text->GetPosition().x, 11.0f);
    EXPECT_EQ(text->GetPosition().y, 22.0f);
}

TEST_F(GraphicsTest, AReadTextShowsItsFontAndValueOnceInitialised)
{
    ASSERT_TRUE(graphics->LoadFont(FontPath("font_64.bff")));
    auto* text = ReadComponent<TextComponent>(
        "<TextComponent>"
        "<m_fontName><string value=\"font_64.bff\"/></m_fontName>"
        "<m_value><string value=\"Hi\"/></m_value>"
        "</TextComponent>");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->m_fontName, "font_64.bff");
    EXPECT_EQ(text->GetFont(), nullptr);
    Entity* entity = engine->CreateEntity("label", "default");
    entity->AddComponent<Transform2D>(true);
    entity->AddComponent(TextComponent::ID, text, true);
    EXPECT_EQ(text->GetFont(), graphics->GetFont("font_64.bff"));
    EXPECT_EQ(text->GetValue(), "Hi");
    EXPECT_EQ(text->GetVertices().size(), 12u);
}

TEST_F(GraphicsTest, AReadMaterialNameWaitsForRegistration)
{
    // The level test reads every kind's fields through a whole level; here what happens between.
    auto* billboard = ReadComponent<BillboardedQuadComponent>(
        "<BillboardedQuadComponent><m_materialName><string value=\"glow.mat\"/></m_materialName>"
        "</BillboardedQuadComponent>");
    ASSERT_NE(billboard, nullptr);
    EXPECT_EQ(billboard->m_materialName, "glow.mat");
    EXPECT_EQ(billboard->GetMaterial(), nullptr);
    Entity* entity = Placed("board");
    entity->AddComponent(BillboardedQuadComponent::ID, billboard, true);
    EXPECT_NE(billboard->GetMaterial(), nullptr);
}

TEST_F(GraphicsTest, TheSunsCameraSeesWhateverItsDirection)
{
    Entity* entity = Placed("sun", 0.0f, 100.0f, 0.0f);
    auto* sun = entity->AddComponent<SunComponent>(true);
    ZOR::RenderSystem::ShadowCaster& caster = graphics->GetShadowCaster();

    for (const Vec4& direction : {Vec4(1.0f, 0.0f, 0.0f, 0.0f), Vec4(0.0f, -1.0f, 0.0f, 0.0f),
                                  Vec4(0.0f, 5.0f, 0.0f, 0.0f), Vec4(0.3f, -0.8f, 0.1f, 0.0f)}) {
        sun->m_direction = direction;
        engine->Update(0.016f);
        EXPECT_TRUE(RowsNonZero(caster.camera.GetViewMatrix())) << direction.x << " " << direction.y;
        EXPECT_EQ(caster.target.y, direction.y);
    }
    EXPECT_EQ(caster.camera.GetPosition().y, 100.0f);
    EXPECT_EQ(caster.fov, 90.0f);
    EXPECT_EQ(caster.nearFar.y, 1000.0f);
    EXPECT_EQ(graphics->GetSunBlock().size, 100.0f);
    EXPECT_EQ(graphics->GetSettings().godRaySamples, 64);

    // A zero direction keeps the last view.
    const ZOR::float4x4 last = caster.camera.GetViewMatrix();
    sun->m_direction = Vec4();
    engine->Update(0.016f);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(caster.camera.GetViewMatrix().m[i], last.m[i]) << i;
}

TEST_F(GraphicsTest, TheSunsFovIsInDegreesAndItsSampleCountIsBounded)
{
    Entity* entity = Placed("sun");
    auto* sun = entity->AddComponent<SunComponent>(true);
    sun->m_direction = Vec4(0.0f, -1.0f, 0.0f, 0.0f);
    sun->m_raySamples = 1000000000;
    engine->Update(0.016f);
    // fov 90: cot(π/4) = 1 on both axes of a square projection.
    const ZOR::float4x4& projection = graphics->GetShadowCaster().camera.GetProjectionMatrix();
    EXPECT_NEAR(projection.m[0], 1.0f, 1e-5f);
    EXPECT_NEAR(projection.m[5], 1.0f, 1e-5f);
    EXPECT_EQ(graphics->GetSettings().godRaySamples, SunComponent::kMaxRaySamples);
    sun->m_raySamples = -1;
    engine->Update(0.016f);
    EXPECT_EQ(graphics->GetSettings().godRaySamples, 0);

    entity->GetComponent<SunComponent>()->Uninitialize();
    EXPECT_EQ(graphics->GetSun(), nullptr);
}

TEST_F(GraphicsTest, OfTwoFogsTheLaterWins)
{
    Entity* entity = engine->CreateEntity("weather", "default");
    auto* first = entity->AddComponent<FogComponent>(true);
    first->m_color = Vec4(1.0f, 0.0f, 0.0f, 0.0f);
    Entity* other = engine->CreateEntity("weather2", "default");
    auto* second = other->AddComponent<FogComponent>(true);
    second->m_color = Vec4(0.0f, 0.0f, 1.0f, 0.0f);
    second->m_heightFalloff = 0.7f;
    engine->Update(0.016f);
    EXPECT_EQ(graphics->GetSettings().fogColor.b, 1.0f);
    EXPECT_EQ(graphics->GetSettings().fogColor.r, 0.0f);
    EXPECT_FLOAT_EQ(graphics->GetSettings().fog3, 0.7f);
}

TEST_F(GraphicsTest, HostilePlacementsNeitherCrashNorHang)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float values[] = {std::nanf(""), inf, -inf, 1e30f};
    int i = 0;
    for (float v : values) {
        Entity* entity = Placed("hostile" + std::to_string(i++), v, v, v);
        entity->GetComponent<Transform3D>()->SetScale(v, v, v);
        entity->AddComponent<DecalComponent>(true);
        entity->AddComponent<PointLightComponent>(true);
        entity->AddComponent<BillboardedQuadComponent>(true);
    }
    for (int frame = 0; frame < 3; ++frame)
        engine->Update(0.016f);
    EXPECT_EQ(graphics->GetOctreeList().size(), 12u);
}

} // namespace
} // namespace quellor::test
