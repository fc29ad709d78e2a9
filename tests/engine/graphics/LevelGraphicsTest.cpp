// A level written by the test places every graphics component kind through the object
// system; after a few frames each has reached the renderer with the level's values, and the
// hostile values in it neither crash nor hang.
#include "engine/ObjectSystem.h"
#include "engine/ResourceSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/BillboardedQuadComponent.h"
#include "engine/graphics/DecalComponent.h"
#include "engine/graphics/DirectionalLightComponent.h"
#include "engine/graphics/FogComponent.h"
#include "engine/graphics/PointLightComponent.h"
#include "engine/graphics/SpotLightComponent.h"
#include "engine/graphics/SunComponent.h"
#include "engine/graphics/TextComponent.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "tests/engine/graphics/GraphicsTestKit.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace quellor::test {
namespace {

const char* kLevel = R"(<level>
  <lamp><components>
    <Transform3D><m_x><float value="3"/></m_x><m_scaleX><float value="2"/></m_scaleX>
      <m_scaleZ><float value="2"/></m_scaleZ></Transform3D>
    <DecalComponent><m_texture><string value="splat.dds"/></m_texture><m_alpha><float value="0.5"/></m_alpha></DecalComponent>
    <PointLightComponent><m_intensity><float value="4"/></m_intensity><m_radius><float value="8"/></m_radius></PointLightComponent>
  </components></lamp>
  <board><components>
    <Transform3D><m_y><float value="7"/></m_y></Transform3D>
    <BillboardedQuadComponent><m_materialName><string value="missing.mat"/></m_materialName>
      <m_visibleScreen1><bool value="0"/></m_visibleScreen1></BillboardedQuadComponent>
    <SpotLightComponent><m_radius><float value="20"/></m_radius></SpotLightComponent>
    <DirectionalLightComponent><m_direction><Vec4><y><float value="-1"/></y></Vec4></m_direction></DirectionalLightComponent>
  </components></board>
  <label><components>
    <Transform2D><m_x><float value="10"/></m_x></Transform2D>
    <TextComponent><m_fontName><string value="font_64.bff"/></m_fontName>
      <m_value><string value="Go"/></m_value></TextComponent>
  </components></label>
  <weather><components>
    <Transform3D><m_y><float value="nan"/></m_y><m_scaleX><float value="inf"/></m_scaleX></Transform3D>
    <SunComponent><m_direction><Vec4><y><float value="-1"/></y></Vec4></m_direction>
      <m_fov><float value="180"/></m_fov><m_nearPlane><float value="10"/></m_nearPlane>
      <m_farPlane><float value="1"/></m_farPlane><m_raySamples><int value="1000000000"/></m_raySamples></SunComponent>
    <FogComponent><m_color><Vec4><x><float value="0.25"/></x></Vec4></m_color></FogComponent>
  </components></weather>
</level>
)";

class LevelGraphicsTest : public GraphicsTest {
protected:
    tarsel::test::TempDir dir;
    tarsel::test::WorkingDirectory cwd{dir.Path()};
};

TEST_F(LevelGraphicsTest, ALevelPlacesEveryKindAndTheFramesRun)
{
    RegisterEngineTypes();
    const char* content = std::getenv("TARSEL_CONTENT_DIR");
    ASSERT_NE(content, nullptr);
    ASSERT_TRUE(graphics->LoadFont((std::filesystem::path(content) / "fonts" / "font_64.bff").string()));
    dir.Write("levels/graphics.ql", kLevel);
    engine->AddSystem(ResourceSystem::ID, new ResourceSystem, "default");
    auto* objects = static_cast<ObjectSystem*>(engine->AddSystem(ObjectSystem::ID, new ObjectSystem, "default"));
    objects->LoadLevel("graphics.ql");
    for (int frame = 0; frame < 3; ++frame)
        engine->Update(0.016f);

    Entity* lamp = engine->GetEntity("lamp", "default");
    ASSERT_NE(lamp, nullptr);
    auto* decal = lamp->GetComponent<DecalComponent>();
    ASSERT_NE(decal, nullptr);
    EXPECT_EQ(decal->GetTexture(), "splat.dds");
    EXPECT_EQ(decal->m_position.x, 3.0f);
    EXPECT_EQ(decal->m_scale.z, 2.0f);
    EXPECT_EQ(decal->GetAlpha(), 0.5f);
    auto* point = lamp->GetComponent<PointLightComponent>();
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->GetIntensity(), 4.0f);
    EXPECT_EQ(point->GetPosition().x, 3.0f);

    Entity* board = engine->GetEntity("board", "default");
    ASSERT_NE(board, nullptr);
    auto* billboard = board->GetComponent<BillboardedQuadComponent>();
    ASSERT_NE(billboard, nullptr);
    EXPECT_FALSE(billboard->GetVisible(0));
    EXPECT_TRUE(billboard->GetVisible(1));
    // An unknown material name gets the renderer's default.
    EXPECT_EQ(billboard->GetMaterial(), graphics->GetMaterial(""));
    EXPECT_EQ(billboard->GetPosition().y, 7.0f);
    EXPECT_EQ(board->GetComponent<SpotLightComponent>()->GetRadius(), 20.0f);
    EXPECT_EQ(board->GetComponent<DirectionalLightComponent>()->GetDirection().y, -1.0f);

    auto* text = engine->GetEntity("label", "default")->GetComponent<TextComponent>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetFont(), graphics->GetFont("font_64.bff"));
    EXPECT_EQ(text->GetValue(), "Go");
    EXPECT_FALSE(text->GetVertices().empty());
    EXPECT_EQ(text->GetPosition().x, 10.0f);

    EXPECT_FLOAT_EQ(graphics->GetSettings().fogColor.r, 0.25f);
    EXPECT_EQ(graphics->GetSettings().godRaySamples, SunComponent::kMaxRaySamples);
    EXPECT_NE(graphics->GetSun(), nullptr);
    EXPECT_EQ(graphics->GetDecalComponents().size(), 1u);
    EXPECT_EQ(graphics->GetTextComponents().size(), 1u);
    EXPECT_EQ(graphics->GetFogComponents().size(), 1u);

    // Emptying the space unregisters everything.
    engine->DestroyDefaultEntities();
    engine->Update(0.016f);
    EXPECT_TRUE(graphics->GetOctreeList().empty());
    EXPECT_TRUE(graphics->GetTextList().empty());
    EXPECT_EQ(graphics->GetSun(), nullptr);
    EXPECT_TRUE(graphics->GetFogComponents().empty());
}

} // namespace
} // namespace quellor::test
