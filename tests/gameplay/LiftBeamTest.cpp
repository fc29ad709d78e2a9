// The lift beam's mesh as a function of its ends, fade and phase, and the beam effect's life
// in the game world: fades, emitters and lights at the ends, and what it hands back.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/EntityRef.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/MetaNotPOD.h"
#include "engine/reflection/MetaRegistry.h"
#include "gameplay/RegisterGameplayTypes.h"
#include "gameplay/effects/LiftBeamMesh.h"
#include "gameplay/effects/LiftFxComponent.h"
#include "renderer/DynamicMesh.h"
#include "renderer/ParticleEmitter.h"
#include "renderer/PointLight.h"
#include "tests/support/ContentDir.h"
#include "tests/support/gameplay/GameWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace quellor::test {
namespace {

using ZOR::float3;

ZOR::DynamicMesh Beam(const float3& a, const float3& b, float fade = 1.0f, float phase = 0.3f)
{
    ZOR::DynamicMesh mesh(LiftFxComponent::kMaxVertices);
    LiftBeamMesh::Build(mesh, a, b, fade, phase);
    return mesh;
}

float TriangleArea(const ZOR::DynamicMeshVertex* v)
{
    return (v[1].position - v[0].position).Cross(v[2].position - v[0].position).Length() * 0.5f;
}

TEST(LiftBeamMesh, SegmentsFollowTheLength)
{
    const unsigned perSegment = LiftBeamMesh::kVerticesPerSegment;
    EXPECT_EQ(perSegment, 48u);
    EXPECT_EQ(LiftBeamMesh::SegmentCount(10.0f), 16);
    EXPECT_EQ(LiftBeamMesh::SegmentCount(10.5f), 32);
    EXPECT_EQ(Beam(float3(), float3(10.0f, 0.0f, 0.0f)).NumVerts(), 16u * perSegment);
    EXPECT_EQ(Beam(float3(), float3(0.0f, 0.0f, 10.5f)).NumVerts(), 32u * perSegment);
    // Beyond 300 units only the first 300 are drawn, within the effect's vertex room.
    const ZOR::DynamicMesh longest = Beam(float3(), float3(900.0f, 10.0f, 0.0f));
    EXPECT_EQ(longest.NumVerts(), 480u * perSegment);
    EXPECT_LE(longest.NumVerts(), LiftFxComponent::kMaxVertices);
    float farthest = 0.0f;
    for (const ZOR::DynamicMeshVertex& v : longest.Vertices())
        farthest = std::max(farthest, v.position.x);
    EXPECT_LT(farthest, 310.0f);
    // No length, or ends that are not numbers: nothing.
    EXPECT_EQ(Beam(float3(1.0f, 2.0f, 3.0f), float3(1.0f, 2.0f, 3.0f)).NumVerts(), 0u);
    EXPECT_EQ(Beam(float3(), float3(NAN, 0.0f, 0.0f)).NumVerts(), 0u);
}

TEST(LiftBeamMesh, TheWavesRampInFromBothEnds)
{
    // A short beam bulges only in the middle.
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(0.0f, 20.0f), 0.0f);
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(5.0f, 20.0f), 0.5f);
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(10.0f, 20.0f), 1.0f);
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(15.0f, 20.0f), 0.5f);
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(20.0f, 20.0f), 0.0f);
    // A long one ramps over 15 units at each end and is full between.
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(0.0f, 100.0f), 0.0f);
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(7.5f, 100.0f), 0.5f);
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(15.0f, 100.0f), 1.0f);
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(50.0f, 100.0f), 1.0f);
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(85.0f, 100.0f), 1.0f);
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(92.5f, 100.0f), 0.5f);
    EXPECT_FLOAT_EQ(LiftBeamMesh::Envelope(100.0f, 100.0f), 0.0f);

    // The mesh starts and ends on the beam's line: the first vertices sit at the start point.
    const ZOR::DynamicMesh mesh = Beam(float3(), float3(20.0f, 0.0f, 0.0f));
    EXPECT_EQ(mesh.Vertices()[0].position, float3());
    EXPECT_EQ(mesh.Vertices()[1].position, float3());
}

TEST(LiftBeamMesh, AVerticalBeamIsAStraightTube)
{
    for (float sign : {1.0f, -1.0f}) {
        const ZOR::DynamicMesh mesh = Beam(float3(3.0f, 0.0f, -2.0f), float3(3.0f, 40.0f * sign, -2.0f));
        ASSERT_GT(mesh.NumVerts(), 0u);
        for (const ZOR::DynamicMeshVertex& v : mesh.Vertices()) {
            ASSERT_TRUE(std::isfinite(v.position.x) && std::isfinite(v.position.y) && std::isfinite(v.position.z));
            // Nothing leaves the tube's radius around the axis.
            EXPECT_LE(std::hypot(v.position.x - 3.0f, v.position.z + 2.0f), 0.25f + 1e-4f);
        }
    }
}

TEST(LiftBeamMesh, NoFadeGivesNoWidth)
{
    const ZOR::DynamicMesh faded = Beam(float3(-5.0f, 1.0f, 2.0f), float3(30.0f, 8.0f, -4.0f), 0.0f);
    ASSERT_EQ(faded.NumVerts() % 3, 0u);
    for (std::size_t i = 0; i < faded.NumVerts(); i += 3)
        ASSERT_NEAR(TriangleArea(&faded.Vertices()[i]), 0.0f, 1e-5f) << i;
    const ZOR::DynamicMesh full = Beam(float3(-5.0f, 1.0f, 2.0f), float3(30.0f, 8.0f, -4.0f), 1.0f);
    float area = 0.0f;
    for (std::size_t i = 0; i < full.NumVerts(); i += 3)
        area += TriangleArea(&full.Vertices()[i]);
    EXPECT_GT(area, 1.0f);
}

TEST(LiftBeamMesh, ThePhaseTurnsTheBandsAndScrollsTheTexture)
{
    const ZOR::DynamicMesh mesh = Beam(float3(), float3(20.0f, 0.0f, 0.0f), 1.0f, 2.0f);
    // Segment i's bands start at u = i/16 - phase, which runs below 0.
    EXPECT_FLOAT_EQ(mesh.Vertices()[0].texCoord.x, -2.0f);
    EXPECT_FLOAT_EQ(mesh.Vertices()[LiftBeamMesh::kVerticesPerSegment].texCoord.x, 1.0f / 16.0f - 2.0f);
}

class LiftFxTest : public tarsel::test::GameWorldTest {
protected:
    void SetUp() override
    {
        GameWorldTest::SetUp();
        // The shipped emitter, where the working folder keeps it.
        std::ifstream file(tarsel::test::ContentDir() / LiftFxComponent::kHandEmitter);
        std::stringstream text;
        text << file.rdbuf();
        ASSERT_FALSE(text.str().empty());
        world->WriteFile(LiftFxComponent::kHandEmitter, text.str());
        world->Step(2);
        entity = world->Spawn("liftFx");
        effect = entity->AddComponent<LiftFxComponent>(true);
        effect->m_start = float3(1.0f, 2.0f, 3.0f);
        effect->m_end = float3(21.0f, 2.0f, 3.0f);
    }

    bool InRenderSystem(const ZOR::Renderable* renderable) const
    {
        const auto& list = world->graphics->GetOctreeList();
        return std::find(list.begin(), list.end(), renderable) != list.end();
    }

    Entity* entity = nullptr;
    LiftFxComponent* effect = nullptr;
};

TEST_F(LiftFxTest, FadesSwitchTheEndsOnAndOffAndTheEntityGoes)
{
    EXPECT_EQ(effect->GetRenderSystem(), world->graphics);
    EXPECT_FALSE(effect->GetStartEmitter().GetEmitting());
    EXPECT_FALSE(effect->GetEndLight().GetVisible(0));
    EXPECT_EQ(effect->GetTexture(), "shot_lift.dds");

    effect->FadeIn(0.2f);
    EXPECT_FLOAT_EQ(effect->GetFade(), 0.0f);
    EXPECT_TRUE(effect->GetStartEmitter().GetEmitting());
    EXPECT_TRUE(effect->GetEndEmitter().GetEmitting());
    EXPECT_EQ(effect->GetEndEmitter().GetMaxParticles(), 48u);
    for (int screen = 0; screen < 4; ++screen) {
        EXPECT_TRUE(effect->GetStartLight().GetVisible(screen));
        EXPECT_TRUE(effect->GetEndLight().GetVisible(screen));
    }
    world->Step(14);
    EXPECT_FLOAT_EQ(effect->GetFade(), 1.0f);
    // Each frame the ends follow the points and the lights flicker.
    EXPECT_EQ(effect->GetStartEmitter().GetPosition(), effect->m_start);
    EXPECT_EQ(effect->GetEndEmitter().GetPosition(), effect->m_end);
    EXPECT_FLOAT_EQ(effect->GetEndLight().GetPosition().x, 21.0f);
    EXPECT_GE(effect->GetStartLight().GetIntensity(), 2.5f);
    EXPECT_LT(effect->GetStartLight().GetIntensity(), 3.5f);
    EXPECT_FLOAT_EQ(effect->GetStartLight().GetRadius(), LiftFxComponent::kLightRadius);
    EXPECT_EQ(effect->NumVerts(), 32u * LiftBeamMesh::kVerticesPerSegment);

    const ZOR::Renderable* pieces[] = {&effect->GetStartEmitter(), &effect->GetEndEmitter(), &effect->GetStartLight(),
                                       &effect->GetEndLight()};
    for (const ZOR::Renderable* piece : pieces)
        EXPECT_TRUE(InRenderSystem(piece));
    effect->FadeOut(0.5f);
    EXPECT_FALSE(effect->GetStartEmitter().GetEmitting());
    EXPECT_FALSE(effect->GetEndLight().GetVisible(2));
    const EntityRef ref(entity);
    world->Step(15);
    ASSERT_NE(ref.Get(), nullptr);
    EXPECT_GT(effect->GetFade(), 0.0f);
    EXPECT_LT(effect->GetFade(), 1.0f);
    world->Step(17);
    EXPECT_EQ(ref.Get(), nullptr);
    // The render system holds none of them now.
    for (const ZOR::Renderable* piece : pieces)
        EXPECT_FALSE(InRenderSystem(piece));
}

TEST_F(LiftFxTest, ACloneOwnsItsOwnEnds)
{
    effect->FadeIn(0.2f);
    world->Step(3);
    auto* clone = dynamic_cast<LiftFxComponent*>(effect->Clone());
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(&clone->GetStartEmitter(), &effect->GetStartEmitter());
    EXPECT_NE(&clone->GetEndLight(), &effect->GetEndLight());
    EXPECT_FLOAT_EQ(clone->GetFade(), effect->GetFade());
    EXPECT_FLOAT_EQ(clone->GetPhase(), effect->GetPhase());
    EXPECT_EQ(clone->m_end, effect->m_end);
    // On an entity of its own it adds and later returns its own pieces.
    Entity* other = world->Spawn("liftFxCopy");
    other->AddComponent(LiftFxComponent::ID, clone, true);
    const ZOR::Renderable* cloneLight = &clone->GetStartLight();
    EXPECT_TRUE(InRenderSystem(cloneLight));
    world->Step();
    other->Destroy();
    world->Step();
    EXPECT_FALSE(InRenderSystem(cloneLight));
    EXPECT_TRUE(InRenderSystem(&effect->GetStartLight()));
}

TEST(LiftFxRecord, NewAndCopyWorkWithoutAnEngine)
{
    RegisterGameplayTypes();
    const Meta* record = MetaRegistry::Instance().Find("LiftFxComponent");
    ASSERT_NE(record, nullptr);
    auto* made = static_cast<LiftFxComponent*>(record->GetOps()->New());
    ASSERT_NE(made, nullptr);
    made->m_end = float3(4.0f, 5.0f, 6.0f);
    auto* copy = static_cast<LiftFxComponent*>(record->GetOps()->Copy(made));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->m_end, made->m_end);
    EXPECT_NE(&copy->GetStartLight(), &made->GetStartLight());
    EXPECT_EQ(copy->GetRenderSystem(), nullptr);
    record->GetOps()->Delete(copy);
    record->GetOps()->Delete(made);
}

} // namespace
} // namespace quellor::test
