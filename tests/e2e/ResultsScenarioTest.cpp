// S11: the results screen over a running match on "Beta.ql" (the main road: one person on
// orange, three computer players on red), started by name from a fixture level laid over the
// built content, with feathers counted and items locked in the content store beforehand.
#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/content/ContentSystem.h"
#include "frontend/screens/FeatherStats.h"
#include "gameplay/FeatherSystem.h"
#include "platform/ScriptedInputSource.h"
#include "tests/e2e/Scenario.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>

namespace tarsel::test {
namespace {

using quellor::ContentSystem;
using quellor::FeatherStats;
using Names = ContentSystem::Names;

constexpr int kPersonFeathers = 5;
constexpr int kComputerFeathers = 2;
// The title and the person's team's boid come before the feathers.
constexpr std::size_t kFirstFeather = 2;
constexpr std::size_t kFirstMarker = kFirstFeather + kPersonFeathers;
constexpr std::size_t kFirstPreview = kFirstMarker + kPersonFeathers;
constexpr int kReadyFrames = 900;

// Two hair styles and three masks locked, one of each kind kept.
const ContentSystem::Unlocked kFiveLocked = {
    {"birthday_halo_hat"}, {"hair_tarsel:hair_black"}, {"mask_default:mask_default"}};

// What each item that can be locked above shows as its preview.
const std::map<std::string, std::string> kPreviews = {
    {"hair_tarsel:mask_purple", "mask_purple.mat"}, {"hair_tarsel:mask_red", "mask_red.mat"},
    {"mask_fox:mask_fox0", "mask_fox0.mat"},        {"mask_default:mask_fox1", "mask_fox1.mat"},
    {"mask_bunny:mask_bunny", "mask_bunny.mat"}};

std::set<std::string> Locked(const ContentSystem& content)
{
    std::set<std::string> locked;
    for (const Names& names : {content.GetLockedHair(), content.GetLockedMasks()})
        locked.insert(names.begin(), names.end());
    return locked;
}

bool Contains(const Names& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

class ResultsScenario : public Scenario {
protected:
    // The main road into the match, a second of play after its intro, and the match's feathers:
    // some for the person's team, some for the computer players'.
    void SetUp() override
    {
        if (!MatchContentBuilt())
            GTEST_SKIP() << "the built content has no \"Beta.ql\" or menu level yet";
        FlowSetup setup = ContentSetup();
        setup.workingDirectory.clear();
        setup.overContent = true;
        setup.fixtureFolders = {TARSEL_E2E_FIXTURES};
        setup.drawEvery = 30;
        Boot(std::move(setup));
        StartMatch();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(game->RunUntil([&] { return IntroRuns(); }, 120));
        ASSERT_TRUE(game->RunUntil([&] { return !IntroRuns(); }, 12 * 60));
        ASSERT_EQ(MatchPlayers().size(), 4u);
        game->RunFrames(60);
        for (int i = 0; i < kPersonFeathers; ++i)
            Feathers().AddFeather("orange");
        for (int i = 0; i < kComputerFeathers; ++i)
            Feathers().AddFeather("red");
    }

    ContentSystem& Content() { return *game->GetGame().GetContentSystem(); }
    quellor::FeatherSystem& Feathers()
    {
        return *quellor::Engine::Instance()->GetSystem<quellor::FeatherSystem>("default");
    }

    // Loads the level that names the screen, and runs the frame that starts it.
    void ShowResults()
    {
        quellor::Engine::Instance()->GetSystem<quellor::ObjectSystem>("default")->LoadLevel("Results.ql");
        ASSERT_TRUE(game->RunUntil([&] {
            screen = Find();
            return screen && screen->IsStarted();
        }, 3));
    }
    // The results action while its holder runs it; null once it has ended.
    FeatherStats* Find() const
    {
        quellor::Entity* holder = game->FindEntity("results_screen");
        auto* component = holder ? holder->GetComponent<quellor::ActionComponent>() : nullptr;
        FeatherStats* found = nullptr;
        if (component)
            component->GetActionList().VisitActions([&](const quellor::Action& action) {
                if (!found)
                    found = dynamic_cast<FeatherStats*>(const_cast<quellor::Action*>(&action));
            });
        return found;
    }
    quellor::Entity* Made(std::size_t index) const { return screen->GetEntities().at(index).Get(); }
    std::string MaterialOf(std::size_t index) const { return game->FindMaterial(Made(index)->GetName()); }
    // The entity's name is its base name and a number the name counter gave it.
    bool NamedFrom(std::size_t index, const std::string& base) const
    {
        return Made(index)->GetName().rfind(base, 0) == 0;
    }
    // Presses that come before the choreography has ended change nothing.
    void ExpectEarlyPressesIgnored()
    {
        ASSERT_FALSE(screen->IsShown());
        for (int key : {kEnter, kSpaceKey}) {
            game->Input().TapKey(key);
            game->RunFrames(2);
        }
        game->Input().SetPadConnected(1, true);
        game->Input().SetPadButton(1, kPadA, true);
        game->RunFrames(1);
        game->Input().SetPadButton(1, kPadA, false);
        game->RunFrames(1);
        ASSERT_FALSE(screen->IsShown()) << "the presses came too late to test";
        EXPECT_EQ(Find(), screen);
    }
    // Runs until the last ticket's marker has grown to a feather's size.
    void WaitForTickets(const std::string& shot)
    {
        const float featherSize = game->GetGame().GetGraphicsSystem()->GetOrthographicProjectionSize(-1).y / 7.0f;
        auto* last = Made(kFirstPreview - 1)->GetComponent<quellor::Transform2D>();
        ASSERT_TRUE(game->RunUntil([&] { return last->m_scaleX >= featherSize - 1e-3f; }, kReadyFrames));
        Shot(shot);
    }
    // Runs the choreography to its end; the screen then waits for a press.
    void WaitUntilShown(const std::string& shot = {})
    {
        ASSERT_TRUE(game->RunUntil([&] { return screen->IsShown(); }, kReadyFrames));
        if (!shot.empty())
            Shot(shot);
        EXPECT_EQ(Find(), screen) << "the screen waits for a press";
    }
    // The first confirm press ends the screen; its entities stay for whatever clears the space.
    void ConfirmEnds()
    {
        const quellor::EntityRef title(Made(0));
        game->Input().TapKey(kEnter);
        game->RunFrames(2);
        EXPECT_EQ(Find(), nullptr);
        screen = nullptr;
        EXPECT_NE(title.Get(), nullptr);
    }
    // The rows and tickets every run shows: the title, the person's team alone (its computer
    // players' team has none), its feathers and one marker per feather.
    void ExpectRowsAndMarkers()
    {
        ASSERT_GE(screen->GetEntities().size(), kFirstPreview);
        EXPECT_TRUE(NamedFrom(0, "title"));
        EXPECT_EQ(MaterialOf(0), "results_title.mat");
        EXPECT_TRUE(NamedFrom(1, "boid"));
        EXPECT_EQ(MaterialOf(1), "orange_boid.mat");
        for (std::size_t i = kFirstFeather; i < kFirstMarker; ++i) {
            EXPECT_TRUE(NamedFrom(i, "feather")) << i;
            EXPECT_EQ(MaterialOf(i), "results_feather.mat") << i;
        }
        for (std::size_t i = kFirstMarker; i < kFirstPreview; ++i)
            EXPECT_TRUE(NamedFrom(i, "redX")) << i;
        // The match's counts were consumed, the computer players' too.
        EXPECT_EQ(Feathers().GetFeathers("orange"), 0);
        EXPECT_EQ(Feathers().GetFeathers("red"), 0);
    }

    FeatherStats* screen = nullptr;
};

TEST_F(ResultsScenario, S11TicketsUnlockLockedItemsOnceEachAndTheSaveListsThem)
{
    Content().SetUnlocked(kFiveLocked);
    const std::set<std::string> lockedBefore = Locked(Content());
    ASSERT_EQ(lockedBefore.size(), kPreviews.size());
    ShowResults();
    ASSERT_NE(screen, nullptr);
    ExpectRowsAndMarkers();
    if (HasFatalFailure())
        return;

    const std::vector<FeatherStats::Reward>& rewards = screen->GetRewards();
    // Five tickets at 40 in 100 each: the scenario's seed wins some.
    ASSERT_FALSE(rewards.empty());
    std::size_t wins = 0;
    for (std::size_t i = kFirstMarker; i < kFirstPreview; ++i) {
        const std::string material = MaterialOf(i);
        EXPECT_TRUE(material == "results_win.mat" || material == "results_loss.mat") << material;
        wins += material == "results_win.mat" ? 1 : 0;
    }
    EXPECT_EQ(wins, rewards.size());
    ASSERT_EQ(screen->GetEntities().size(), kFirstPreview + wins) << "one preview per win";

    // The wins are exactly the items no longer locked: each was locked, none came twice.
    std::set<std::string> unlocked;
    const std::set<std::string> lockedAfter = Locked(Content());
    std::set_difference(lockedBefore.begin(), lockedBefore.end(), lockedAfter.begin(), lockedAfter.end(),
                        std::inserter(unlocked, unlocked.begin()));
    std::set<std::string> won;
    std::string items;
    for (const FeatherStats::Reward& reward : rewards) {
        won.insert(reward.item);
        items += (items.empty() ? "" : " ") + reward.item;
    }
    RecordProperty("won", items);
    EXPECT_EQ(won.size(), rewards.size()) << "an item won twice";
    EXPECT_EQ(won, unlocked);

    // Each won item shows as its own material, in winning order.
    for (std::size_t m = 0; m < rewards.size(); ++m) {
        const std::size_t index = kFirstPreview + m;
        EXPECT_TRUE(NamedFrom(index, "unlockPrev")) << index;
        const auto preview = kPreviews.find(rewards[m].item);
        ASSERT_NE(preview, kPreviews.end()) << rewards[m].item;
        EXPECT_EQ(MaterialOf(index), preview->second);
        EXPECT_TRUE(ContentHasFile(preview->second)) << preview->second;
    }

    // The save written after the rolls holds what the store now holds: the won items in, the
    // items still locked out.
    const std::string bytes = game->ReadSaveContent();
    ContentSystem saved(ContentSystem::Unlocked{});
    ASSERT_TRUE(saved.LoadFrom(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    EXPECT_EQ(saved.GetUnlockedHats(), Content().GetUnlockedHats());
    EXPECT_EQ(saved.GetUnlockedHair(), Content().GetUnlockedHair());
    EXPECT_EQ(saved.GetUnlockedMasks(), Content().GetUnlockedMasks());
    for (const std::string& item : won)
        EXPECT_TRUE(Contains(saved.GetUnlockedHair(), item) || Contains(saved.GetUnlockedMasks(), item)) << item;
    for (const std::string& item : lockedAfter)
        EXPECT_FALSE(Contains(saved.GetUnlockedHair(), item) || Contains(saved.GetUnlockedMasks(), item)) << item;

    WaitForTickets("s11_results_tickets");
    ExpectEarlyPressesIgnored();
    WaitUntilShown("s11_results_previews");
    ASSERT_EQ(Find(), screen);
    // Each preview stands in for its marker.
    for (std::size_t i = kFirstMarker; i < kFirstPreview; ++i) {
        if (MaterialOf(i) == "results_win.mat") {
            EXPECT_EQ(Made(i)->GetComponent<quellor::Transform2D>()->m_scaleX, 0.0f) << i;
        }
    }
    for (std::size_t m = 0; m < wins; ++m)
        EXPECT_GT(Made(kFirstPreview + m)->GetComponent<quellor::Transform2D>()->m_scaleX, 0.0f) << m;
    ConfirmEnds();
}

TEST_F(ResultsScenario, S11NothingLockedLosesEveryTicketAndLeavesTheSave)
{
    // A fresh profile has every hair and mask.
    ASSERT_TRUE(Locked(Content()).empty());
    const std::string before = game->ReadSaveContent();
    ASSERT_FALSE(before.empty());
    ShowResults();
    ASSERT_NE(screen, nullptr);
    ExpectRowsAndMarkers();
    if (HasFatalFailure())
        return;
    EXPECT_TRUE(screen->GetRewards().empty());
    EXPECT_EQ(screen->GetEntities().size(), kFirstPreview) << "no preview";
    for (std::size_t i = kFirstMarker; i < kFirstPreview; ++i)
        EXPECT_EQ(MaterialOf(i), "results_loss.mat") << i;
    EXPECT_EQ(game->ReadSaveContent(), before);

    WaitForTickets("s11_results_losses");
    ExpectEarlyPressesIgnored();
    WaitUntilShown();
    ConfirmEnds();
}

} // namespace
} // namespace tarsel::test
