// S11: the results screen over a running match on "Beta.ql", started by name from a fixture
// level laid over the built content, with feathers counted and items locked in the content store
// beforehand. The match comes by the main road, with a second person on pad 1: people on orange
// (the keyboard) and purple (pad 1), two computer players on red.
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

constexpr int kPadRight = 3;
constexpr int kSecondPad = 1;
// The people's teams' feathers, in the order their players joined, and the computer players'.
constexpr int kOrangeFeathers = 3;
constexpr int kPurpleFeathers = 2;
constexpr int kComputerFeathers = 2;
// The title, then a row per people's team: its boid and its feathers; then a marker per feather.
constexpr std::size_t kOrangeBoid = 1;
constexpr std::size_t kPurpleBoid = kOrangeBoid + 1 + kOrangeFeathers;
constexpr std::size_t kFirstMarker = kPurpleBoid + 1 + kPurpleFeathers;
constexpr std::size_t kFirstPreview = kFirstMarker + kOrangeFeathers + kPurpleFeathers;
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
    // some for each people's team, some for the computer players'.
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
        // Pad 1 joins (orange, its slot's colour), takes hair and mask, moves on to purple, ready.
        std::vector<RoadPress> road = MainRoad();
        for (int code : {kPadA, kPadA, kPadA, kPadRight, kPadA})
            road.insert(road.end() - 1, {kSecondPad, code});
        StartMatch(road);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(game->RunUntil([&] { return IntroRuns(); }, 120));
        ASSERT_TRUE(game->RunUntil([&] { return !IntroRuns(); }, 12 * 60));
        ASSERT_EQ(MatchPlayers().size(), 4u);
        ASSERT_EQ(game->GetScreenCount(), 2u);
        game->RunFrames(60);
        const std::pair<const char*, int> counts[] = {
            {"orange", kOrangeFeathers}, {"purple", kPurpleFeathers}, {"red", kComputerFeathers}};
        for (const auto& [team, count] : counts)
            for (int i = 0; i < count; ++i)
                Feathers().AddFeather(team);
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
        game->Input().SetPadButton(kSecondPad, kPadA, true);
        game->RunFrames(1);
        game->Input().SetPadButton(kSecondPad, kPadA, false);
        game->RunFrames(1);
        ASSERT_FALSE(screen->IsShown()) << "the presses came too late to test";
        EXPECT_EQ(Find(), screen);
    }
    // Runs until the last ticket's marker has grown to a feather's size; the rows stand one
    // under the other by then, in join order.
    void WaitForTickets(const std::string& shot)
    {
        const float height = game->GetGame().GetGraphicsSystem()->GetOrthographicProjectionSize(-1).y;
        auto* last = Made(kFirstPreview - 1)->GetComponent<quellor::Transform2D>();
        ASSERT_TRUE(game->RunUntil([&] { return last->m_scaleX >= height / 7.0f - 1e-3f; }, kReadyFrames));
        EXPECT_NEAR(Made(kOrangeBoid)->GetComponent<quellor::Transform2D>()->m_y, 0.2f * height, 1e-3f);
        EXPECT_NEAR(Made(kPurpleBoid)->GetComponent<quellor::Transform2D>()->m_y, 0.4f * height, 1e-3f);
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
    // The rows and tickets every run shows: the title, a row for each people's team in join
    // order (the computer players' team has none) with its feathers, one marker per feather.
    void ExpectRowsAndMarkers()
    {
        ASSERT_GE(screen->GetEntities().size(), kFirstPreview);
        EXPECT_TRUE(NamedFrom(0, "title"));
        EXPECT_EQ(MaterialOf(0), "results_title.mat");
        const std::pair<std::size_t, const char*> boids[] = {{kOrangeBoid, "orange_boid.mat"},
                                                             {kPurpleBoid, "purple_boid.mat"}};
        for (const auto& [boid, material] : boids) {
            EXPECT_TRUE(NamedFrom(boid, "boid")) << boid;
            EXPECT_EQ(MaterialOf(boid), material);
        }
        for (std::size_t i = kOrangeBoid + 1; i < kFirstMarker; ++i) {
            if (i == kPurpleBoid)
                continue;
            EXPECT_TRUE(NamedFrom(i, "feather")) << i;
            EXPECT_EQ(MaterialOf(i), "results_feather.mat") << i;
        }
        for (std::size_t i = kFirstMarker; i < kFirstPreview; ++i)
            EXPECT_TRUE(NamedFrom(i, "redX")) << i;
        // The match's counts were consumed, the computer players' too.
        for (const char* team : {"orange", "purple", "red"})
            EXPECT_EQ(Feathers().GetFeathers(team), 0) << team;
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
