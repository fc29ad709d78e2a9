// The box-in on the flow harness, pushed by the test into lane 0 after loading: the quad's
// alpha rises linearly and stays opaque after the box-in finishes, a second box-in makes a
// second quad, duration 0 is opaque at once, and a box-in cancelled halfway keeps its alpha
// and leaves nothing that writes into the quad once "default" is cleared.
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/LoadAssets.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "frontend/screens/BoxIn.h"
#include "tests/support/flow/FlowGame.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using quellor::BoxIn;
using tarsel::test::FlowGame;
using tarsel::test::FlowSetup;

namespace {

constexpr float kDt = 1.0f / 60.0f;

class BoxInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FlowSetup setup;
        setup.startupTree = [](tarsel::Game&) { return new quellor::LoadAssets; };
        game.emplace(std::move(setup));
        ASSERT_TRUE(game->Start());
        ASSERT_TRUE(game->RunUntil([&] { return Actions().GetRootList().GetCount() == 0; }, 600));
    }

    quellor::ActionSystem& Actions() { return *game->GetGame().GetActionSystem(); }
    // Pushes a box-in into lane 0 and notes when it ends.
    BoxIn* Push(float duration)
    {
        auto* box = new BoxIn(duration, 15, 15);
        box->m_onEnded.Connect(quellor::MakeDelegate(this, &BoxInTest::Ended), 0);
        Actions().AddAction(box, 0);
        return box;
    }
    void Ended() { ++ended; }
    float Alpha(const quellor::Entity* quad) { return quad->GetComponent<quellor::GraphicsComponent2D>()->GetAlpha(); }

    std::optional<FlowGame> game;
    int ended = 0;
};

TEST_F(BoxInTest, TheQuadDarkensOverTheDurationAndStaysOpaqueAfterTheBoxInFinishes)
{
    BoxIn* box = Push(1.0f);
    ASSERT_TRUE(game->Frame());
    quellor::Entity* quad = box->GetQuad();
    ASSERT_NE(quad, nullptr);
    EXPECT_EQ(quad->GetName(), "fadeOut");
    EXPECT_EQ(game->FindMaterial("fadeOut"), "black.mat");
    const quellor::EntityRef kept(quad);
    game->RunFrames(29);
    EXPECT_NEAR(Alpha(quad), 0.5f, kDt + 1e-4f);
    game->RunFrames(29);
    EXPECT_EQ(ended, 0);
    game->RunFrames(1);
    EXPECT_NEAR(Alpha(quad), 1.0f, kDt + 1e-4f);
    // It finishes in the frame after the one in which the rise ended.
    ASSERT_TRUE(game->RunUntil([&] { return Alpha(quad) == 1.0f; }, 2));
    EXPECT_EQ(ended, 0);
    ASSERT_TRUE(game->RunUntil([&] { return ended == 1; }, 2));
    game->RunFrames(5);
    ASSERT_EQ(kept.Get(), quad);
    EXPECT_FLOAT_EQ(Alpha(quad), 1.0f);

    // A second one makes a second, numbered quad.
    BoxIn* second = Push(1.0f);
    ASSERT_TRUE(game->Frame());
    ASSERT_NE(second->GetQuad(), nullptr);
    EXPECT_NE(second->GetQuad()->GetName(), "fadeOut");
    EXPECT_EQ(second->GetQuad()->GetName().rfind("fadeOut", 0), 0u);
    EXPECT_NE(game->FindEntity("fadeOut"), nullptr);
}

TEST_F(BoxInTest, DurationZeroIsOpaqueInTheFirstUpdate)
{
    BoxIn* box = Push(0.0f);
    ASSERT_TRUE(game->Frame());
    ASSERT_NE(box->GetQuad(), nullptr);
    EXPECT_FLOAT_EQ(Alpha(box->GetQuad()), 1.0f);
    ASSERT_TRUE(game->RunUntil([&] { return ended == 1; }, 2));
}

TEST_F(BoxInTest, ACancelledBoxInKeepsItsAlphaAndClearingDefaultIsClean)
{
    BoxIn* box = Push(1.0f);
    game->RunFrames(30);
    const quellor::EntityRef quad(box->GetQuad());
    ASSERT_NE(quad.Get(), nullptr);
    const float reached = Alpha(quad.Get());
    EXPECT_NEAR(reached, 0.5f, kDt + 1e-4f);
    box->Cancel();
    EXPECT_EQ(ended, 1);
    game->RunFrames(10);
    ASSERT_NE(quad.Get(), nullptr);
    EXPECT_FLOAT_EQ(Alpha(quad.Get()), reached);
    // Nothing writes into the quad once it goes (ASan).
    quellor::Engine::Instance()->DestroyAllEntities("default");
    game->RunFrames(40);
    EXPECT_EQ(quad.Get(), nullptr);
    EXPECT_EQ(Actions().GetRootList().GetCount(), 0);
}

} // namespace
