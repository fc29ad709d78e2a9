// The results screen: the feather lottery and the exit row, and on the flow harness, started
// from level data over a match (people on red and green, a computer player on orange), the
// rows, the unlocks with their save, the confirm press and an early end.
#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/content/ContentSystem.h"
#include "frontend/screens/FeatherStats.h"
#include "gameplay/FeatherSystem.h"
#include "platform/ScriptedInputSource.h"
#include "tests/frontend/MatchFixture.h"
#include "tests/support/ScriptedRandom.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace {

using quellor::ContentSystem;
using quellor::FeatherStats;
using Reward = quellor::FeatherStats::Reward;
using Names = std::vector<std::string>;

constexpr int kEnter = 13;
constexpr int kSpace = 32;
constexpr int kPadA = 10;

TEST(FeatherStatsRoll, SixtyInAHundredWinNothingAndAWinPicksAListThenAnItem)
{
    const Names hair = {"h0", "h1"};
    const Names masks = {"m0", "m1", "m2"};
    tarsel::test::ScriptedRandom random({159});
    EXPECT_EQ(FeatherStats::Roll(hair, masks).kind, Reward::None) << "159 % 100 = 59";
    EXPECT_EQ(random.Draws(), 1u);

    random.Script({60});
    EXPECT_EQ(FeatherStats::Roll({}, {}).kind, Reward::None) << "nothing is locked";
    EXPECT_EQ(random.Draws(), 1u) << "no second draw";

    random.Script({60, 50, 3});
    Reward reward = FeatherStats::Roll(hair, masks);
    EXPECT_EQ(reward.kind, Reward::Hair);
    EXPECT_EQ(reward.item, "h1");
    EXPECT_EQ(random.Draws(), 3u);

    random.Script({99, 149, 5});
    reward = FeatherStats::Roll(hair, masks);
    EXPECT_EQ(reward.kind, Reward::Mask);
    EXPECT_EQ(reward.item, "m2");

    // An empty list falls back to the other.
    random.Script({70, 80, 4});
    reward = FeatherStats::Roll({}, masks);
    EXPECT_EQ(reward.kind, Reward::Mask);
    EXPECT_EQ(reward.item, "m1");
    random.Script({70, 10, 4});
    reward = FeatherStats::Roll(hair, {});
    EXPECT_EQ(reward.kind, Reward::Hair);
    EXPECT_EQ(reward.item, "h0");
}

TEST(FeatherStatsLayout, WonMarkersShareTheWidthAtAnEighthOfTheHeightAndPreviewsNameTheirPart)
{
    for (unsigned count = 1; count <= 5; ++count) {
        const float step = 800.0f / static_cast<float>(count + 1);
        for (unsigned m = 0; m < count; ++m) {
            const ZOR::float2 place = FeatherStats::ExitPlace(m, count, 800.0f, 450.0f);
            EXPECT_FLOAT_EQ(place.x, static_cast<float>(m) * step + step / 2.0f) << count << " " << m;
            EXPECT_FLOAT_EQ(place.y, 450.0f / 8.0f);
        }
    }
    EXPECT_EQ(FeatherStats::PreviewMaterial("mask_fox:mask_fox0"), "mask_fox0.mat");
    EXPECT_EQ(FeatherStats::PreviewMaterial("hair_tarsel:hair_black"), "hair_black.mat");
    EXPECT_EQ(FeatherStats::PreviewMaterial("a:b:c"), "b:c.mat");
    EXPECT_EQ(FeatherStats::PreviewMaterial("plain"), "plain.mat");
}

TEST(FeatherStatsStart, WithoutTheGraphicsSystemItWarnsOnceAndEndsSoNothingWaitsForIt)
{
    // An engine with an action system but no graphics system: nothing could be shown.
    quellor::Engine* engine = quellor::Engine::Instance();
    auto* actions =
        static_cast<quellor::ActionSystem*>(engine->AddSystem("ActionSystem", new quellor::ActionSystem, "default"));
    ASSERT_NE(actions, nullptr);
    actions->AddAction(new FeatherStats, 0);
    std::string text;
    {
        tarsel::test::StdoutCapture out;
        for (int frame = 0; frame < 3; ++frame)
            engine->Update(1.0f / 60.0f);
        text = out.Text();
    }
    EXPECT_EQ(actions->GetRootList().GetCount(), 0);
    const std::string warning = "FeatherStats needs the graphics and action systems";
    ASSERT_NE(text.find(warning), std::string::npos) << text;
    EXPECT_EQ(text.find(warning, text.find(warning) + 1), std::string::npos) << text;
    quellor::Engine::DestroyInstance();
}

// Hair "mask_purple" and "mask_red" and masks "mask_fox1" and "mask_bunny" are locked.
const ContentSystem::Unlocked kTwoOfEachLocked = {
    {"birthday_halo_hat"}, {"hair_tarsel:hair_black"}, {"mask_default:mask_default", "mask_fox:mask_fox0"}};

class FeatherStatsFlow : public ::testing::Test {
protected:
    // A match whose store has these items unlocked; red, green (people) and orange (computer)
    // joined.
    void Launch(const ContentSystem::Unlocked& unlocked, bool people = true)
    {
        tarsel::test::FlowSetup setup = tarsel::test::MatchSetup();
        // The choreography runs for seconds: a coarser frame keeps the flow short.
        setup.dt = 1.0f / 20.0f;
        game.emplace(std::move(setup));
        ASSERT_TRUE(game->Start());
        ASSERT_TRUE(tarsel::test::RunUntilArenaLoaded(*game));
        Content().SetUnlocked(unlocked);
        if (people) {
            tarsel::test::JoinPlayer("red0", "red", 0);
            tarsel::test::JoinPlayer("green0", "green", 1);
        }
        tarsel::test::JoinPlayer("bot0", "orange", -1);
        game->RunFrames(2);
        height = game->GetGame().GetGraphicsSystem()->GetOrthographicProjectionSize(-1).y;
        width = game->GetGame().GetGraphicsSystem()->GetOrthographicProjectionSize(-1).x;
    }
    quellor::FeatherSystem& Feathers()
    {
        return *quellor::Engine::Instance()->GetSystem<quellor::FeatherSystem>("default");
    }
    ContentSystem& Content() { return *quellor::Engine::Instance()->GetSystem<ContentSystem>("default"); }
    // Loads the level whose data starts the screen, and runs its start.
    void ShowResults()
    {
        quellor::Engine::Instance()->GetSystem<quellor::ObjectSystem>("default")->LoadLevel("ResultsTest.ql");
        game->RunFrames(1);
        quellor::Entity* holder = game->FindEntity("results");
        ASSERT_NE(holder, nullptr);
        holder->GetComponent<quellor::ActionComponent>()->GetActionList().VisitActions(
            [&](const quellor::Action& action) {
                if (auto* found = dynamic_cast<const FeatherStats*>(&action))
                    screen = const_cast<FeatherStats*>(found);
            });
        ASSERT_NE(screen, nullptr);
    }
    quellor::Transform2D& TransformOf(std::size_t index)
    {
        return *screen->GetEntities().at(index).Get()->GetComponent<quellor::Transform2D>();
    }
    std::string MaterialOf(std::size_t index)
    {
        return screen->GetEntities().at(index).Get()->GetComponent<quellor::GraphicsComponent2D>()->m_materialName;
    }
    bool Running()
    {
        bool found = false;
        if (quellor::Entity* holder = game->FindEntity("results"))
            holder->GetComponent<quellor::ActionComponent>()->GetActionList().VisitActions(
                [&](const quellor::Action& action) { found = found || &action == screen; });
        return found;
    }
    ContentSystem::Unlocked Saved()
    {
        const std::string bytes = game->ReadSaveContent();
        ContentSystem saved(ContentSystem::Unlocked{});
        EXPECT_TRUE(saved.LoadFrom(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        return {saved.GetUnlockedHats(), saved.GetUnlockedHair(), saved.GetUnlockedMasks()};
    }

    std::optional<tarsel::test::ScriptedRandom> random;
    std::optional<tarsel::test::FlowGame> game;
    FeatherStats* screen = nullptr;
    float width = 0.0f;
    float height = 0.0f;
};

TEST_F(FeatherStatsFlow, RowsForPeoplesTeamsTicketsUnlockAndSaveAndTheFirstPressAfterwardsEnds)
{
    Launch(kTwoOfEachLocked);
    for (const char* team : {"red", "red", "orange", "orange", "orange"})
        Feathers().AddFeather(team);
    // Red's first feather wins hair entry 1 ("mask_red"); the second, mask entry 0 ("mask_fox1").
    random.emplace(std::vector<int>{70, 60, 1, 99, 10, 0});
    ShowResults();

    EXPECT_EQ(Feathers().GetFeathers("red"), 0);
    EXPECT_EQ(Feathers().GetFeathers("orange"), 0);
    ASSERT_EQ(screen->GetRewards().size(), 2u);
    EXPECT_EQ(screen->GetRewards()[0].item, "hair_tarsel:mask_red");
    EXPECT_EQ(screen->GetRewards()[1].item, "mask_default:mask_fox1");
    EXPECT_TRUE(Content().IsHairUnlocked("hair_tarsel:mask_red"));
    EXPECT_TRUE(Content().IsMaskUnlocked("mask_default:mask_fox1"));
    const ContentSystem::Unlocked saved = Saved();
    EXPECT_EQ(saved.hair, (Names{"hair_tarsel:hair_black", "hair_tarsel:mask_red"}));
    EXPECT_EQ(saved.masks, (Names{"mask_default:mask_default", "mask_fox:mask_fox0", "mask_default:mask_fox1"}));

    // title, red boid, two feathers, green boid, two markers, two previews
    const auto& entities = screen->GetEntities();
    ASSERT_EQ(entities.size(), 9u);
    const std::vector<std::string> materials = {"results_title.mat", "red_boid.mat",     "results_feather.mat",
                                                "results_feather.mat", "green_boid.mat", "results_win.mat",
                                                "results_win.mat",   "mask_red.mat",     "mask_fox1.mat"};
    for (std::size_t i = 0; i < materials.size(); ++i)
        EXPECT_EQ(MaterialOf(i), materials[i]) << i;
    EXPECT_NEAR(TransformOf(0).m_scaleX, 1.33333f * height, 1e-2f);
    EXPECT_GT(TransformOf(0).m_y, 0.9f * height) << "the title starts below the screen";

    game->RunFrames(21); // 1 s: the title is in; the red boid starts
    EXPECT_NEAR(TransformOf(0).m_y, 0.0f, 1e-3f);
    game->RunFrames(20);
    EXPECT_NEAR(TransformOf(1).m_y, 0.2f * height, 1e-3f) << "red is row 1";
    EXPECT_FLOAT_EQ(TransformOf(2).m_y, 0.2f * height);
    game->RunFrames(11); // the feathers fly in
    EXPECT_NEAR(TransformOf(2).m_x, 20.0f + height / 6.0f, 1e-3f);
    EXPECT_NEAR(TransformOf(3).m_x, 20.0f + height / 6.0f + 0.1f * width, 1e-3f);
    game->RunFrames(20);
    EXPECT_NEAR(TransformOf(4).m_y, 0.4f * height, 1e-3f) << "green is row 2, with no feather";

    // Presses during the choreography do nothing.
    for (const int key : {kEnter, kSpace}) {
        game->Input().TapKey(key);
        game->RunFrames(2);
    }
    game->Input().SetPadButton(0, kPadA, true);
    game->RunFrames(1);
    game->Input().SetPadButton(0, kPadA, false);
    EXPECT_TRUE(Running());
    EXPECT_FALSE(screen->IsShown());

    ASSERT_TRUE(game->RunUntil([&] { return screen->IsShown(); }, 120));
    const ZOR::float2 first = FeatherStats::ExitPlace(0, 2, width, height);
    const ZOR::float2 second = FeatherStats::ExitPlace(1, 2, width, height);
    EXPECT_NEAR(TransformOf(7).m_x, first.x, 1e-3f);
    EXPECT_NEAR(TransformOf(8).m_x, second.x, 1e-3f);
    EXPECT_NEAR(TransformOf(8).m_y, height / 8.0f, 1e-3f);
    EXPECT_NEAR(TransformOf(8).m_scaleX, height / 2.0f, 1e-3f);
    EXPECT_FLOAT_EQ(TransformOf(5).m_scaleX, 0.0f) << "the marker gave way to its preview";
    EXPECT_NEAR(TransformOf(0).m_x, (width - 1.33333f * height) * 0.5f - width, 1e-2f) << "the title slid away";

    game->Input().TapKey(kSpace);
    game->RunFrames(2);
    EXPECT_FALSE(Running());
    EXPECT_NE(game->FindEntity("title"), nullptr) << "the entities stay";
    EXPECT_NE(game->FindEntity("unlockPrev"), nullptr);
}

TEST_F(FeatherStatsFlow, EverythingUnlockedLosesEveryTicketAndSavesNothing)
{
    Launch(ContentSystem::Unlocked{{"birthday_halo_hat"}, ContentSystem().GetHair(), ContentSystem().GetMasks()});
    Feathers().AddFeather("green");
    Feathers().AddFeather("green");
    // The start-up's save goes, so that any later one shows.
    const std::filesystem::path save = game->GetDocuments() / "Corvath/Tarsel/SaveContent.data";
    ASSERT_TRUE(std::filesystem::remove(save));
    random.emplace(std::vector<int>{99});
    ShowResults();
    EXPECT_TRUE(screen->GetRewards().empty());
    EXPECT_EQ(random->Draws(), 2u) << "one draw per ticket";
    EXPECT_FALSE(std::filesystem::exists(save));
    ASSERT_EQ(screen->GetEntities().size(), 7u);
    EXPECT_EQ(MaterialOf(5), "results_loss.mat");
    EXPECT_EQ(MaterialOf(6), "results_loss.mat");
}

TEST_F(FeatherStatsFlow, FeathersOfComputerPlayersAloneShowTheTitleAloneAndAreStillConsumed)
{
    Launch(kTwoOfEachLocked, false);
    Feathers().AddFeather("orange");
    random.emplace(std::vector<int>{99});
    ShowResults();
    EXPECT_EQ(screen->GetEntities().size(), 1u);
    EXPECT_EQ(Feathers().GetFeathers("orange"), 0);
    EXPECT_EQ(random->Draws(), 0u);
    ASSERT_TRUE(game->RunUntil([&] { return screen->IsShown(); }, 60));
    game->Input().SetPadButton(3, kPadA, true);
    game->RunFrames(1);
    EXPECT_FALSE(Running());
}

TEST_F(FeatherStatsFlow, ClearingTheSpaceMidChoreographyEndsTheScreenCleanly)
{
    Launch(kTwoOfEachLocked);
    Feathers().AddFeather("red");
    random.emplace(std::vector<int>{70, 60, 0});
    ShowResults();
    game->RunFrames(30); // the red boid is sliding in
    ASSERT_FALSE(screen->IsShown());
    quellor::Engine::Instance()->DestroyDefaultEntities();
    game->RunFrames(40);
    EXPECT_EQ(game->FindEntity("results"), nullptr);
    EXPECT_EQ(game->FindEntity("title"), nullptr);
}

} // namespace
