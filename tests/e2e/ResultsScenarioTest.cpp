// S11: the results screen over a running match on "Beta.ql", started by name from a fixture
// level laid over the built content, with feathers counted and items locked in the content store
// beforehand. The match comes by the main road, with a second person on pad 1: people on orange
// (the keyboard) and purple (pad 1), two computer players on red.
#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/System.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/content/ContentSystem.h"
#include "frontend/screens/FeatherStats.h"
#include "gameplay/FeatherSystem.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "platform/ScriptedInputSource.h"
#include "renderer/Material.h"
#include "tests/e2e/Scenario.h"
#include "tools/writers/LabelContent.h"

#include <algorithm>
#include <array>
#include <cmath>
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

using Rgb = std::array<int, 3>;

// The ink a generated label is drawn in.
Rgb LabelInk(const std::string& name)
{
    for (const tarsel::tools::LabelTexture& label : tarsel::tools::Labels())
        if (label.name == name)
            return {label.style.ink[0], label.style.ink[1], label.style.ink[2]};
    ADD_FAILURE() << "no label " << name;
    return {};
}

// A rectangle of the screenshot, in pixels (right and bottom excluded).
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

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
        if (quietComputerPlayers) {
            quellor::System* ai = quellor::Engine::Instance()->GetSystem("AISystem", "default");
            ASSERT_NE(ai, nullptr);
            ai->SetActive(false);
        }
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

    // The pixels of the last shot that a 2D overlay covers: a whole-window one by the window's
    // 2D units, a view's one (the people's reticles) by its view's units and place.
    PixelRect OnShot(const quellor::Entity* entity)
    {
        quellor::GraphicsSystem* graphics = game->GetGame().GetGraphicsSystem();
        const auto* at = entity->GetComponent<quellor::Transform2D>();
        const auto* sprite = entity->GetComponent<quellor::GraphicsComponent2D>();
        const ZOR::Dimension window = graphics->GetResolution();
        float left = 0.0f, top = 0.0f;
        float width = static_cast<float>(window.width), height = static_cast<float>(window.height);
        const int id = sprite ? sprite->GetScreenID() : -1;
        if (id >= 0 && id < 4) {
            const ZOR::Viewport& view = graphics->GetScreen(id).GetViewport();
            left = static_cast<float>(view.x);
            top = static_cast<float>(view.y);
            width = static_cast<float>(view.size.width);
            height = static_cast<float>(view.size.height);
        }
        const ZOR::float2 units = graphics->GetOrthographicProjectionSize(id >= 0 && id < 4 ? id : -1);
        const float sx = width / units.x, sy = height / units.y;
        return {static_cast<int>(std::floor(left + at->m_x * sx)), static_cast<int>(std::floor(top + at->m_y * sy)),
                static_cast<int>(std::ceil(left + (at->m_x + at->m_scaleX) * sx)),
                static_cast<int>(std::ceil(top + (at->m_y + at->m_scaleY) * sy))};
    }
    // How many pixels of the last shot inside the rectangle pass the test.
    template <typename Test>
    int CountPixels(const PixelRect& rect, Test test)
    {
        return CountShotPixels(rect.left, rect.top, rect.right, rect.bottom, [&](int x, int y, const std::uint8_t* p) {
            return test(x, y, Rgb{p[0], p[1], p[2]});
        });
    }
    int CountNear(const quellor::Entity* entity, const Rgb& colour, int tolerance)
    {
        return CountPixels(OnShot(entity), [&](int, int, const Rgb& pixel) {
            for (std::size_t c = 0; c < 3; ++c)
                if (std::abs(pixel[c] - colour[c]) > tolerance)
                    return false;
            return true;
        });
    }
    // Each person's view draws the level: next to none of it is left black under the overlays.
    void ExpectViewsShowTheLevel(const std::string& when)
    {
        quellor::GraphicsSystem* graphics = game->GetGame().GetGraphicsSystem();
        ASSERT_EQ(graphics->GetActiveScreens(), 2u) << when;
        for (int id = 0; id < 2; ++id) {
            const ZOR::Viewport& view = graphics->GetScreen(id).GetViewport();
            const PixelRect rect{view.x, view.y, view.x + static_cast<int>(view.size.width),
                                 view.y + static_cast<int>(view.size.height)};
            const int black =
                CountPixels(rect, [](int, int, const Rgb& p) { return std::max({p[0], p[1], p[2]}) < 24; });
            const int all = (rect.right - rect.left) * (rect.bottom - rect.top);
            EXPECT_LT(black, all / 10) << when << ": view " << id << " is black (" << black << " of " << all
                                       << " pixels)";
        }
    }

    FeatherStats* screen = nullptr;
    // The computer players stand still from the intro on, so that no person dies.
    bool quietComputerPlayers = false;
};

// A dead person's view watches the body fall away, then holds still: once the body and its
// effect have left the picture the view shows nothing of the level until the respawn. Here both
// people stay in their own views.
class ResultsScenarioTwoViews : public ResultsScenario {
protected:
    ResultsScenarioTwoViews() { quietComputerPlayers = true; }
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

TEST_F(ResultsScenarioTwoViews, S11BothViewsShowTheLevelUnderTheTitleAndTheRows)
{
    ShowResults();
    ASSERT_NE(screen, nullptr);
    ASSERT_GE(screen->GetEntities().size(), kFirstPreview);
    const float width = game->GetGame().GetGraphicsSystem()->GetOrthographicProjectionSize(-1).x;
    const float height = game->GetGame().GetGraphicsSystem()->GetOrthographicProjectionSize(-1).y;
    // A person's camera is off while a death sequence drives the view.
    const auto expectPeopleInTheirViews = [&](const std::string& when) {
        int people = 0;
        for (quellor::Entity* player : MatchPlayers())
            if (const auto* view = player->GetComponent<quellor::ThirdPersonCameraComponent>()) {
                ++people;
                EXPECT_TRUE(view->IsEnabled()) << when << ": " << player->GetName() << " is dead";
            }
        EXPECT_EQ(people, 2) << when;
    };

    // The last feather has landed: the title, the boids and every feather stand in place.
    auto* lastFeather = Made(kFirstMarker - 1)->GetComponent<quellor::Transform2D>();
    const float lastX = 20.0f + height / 6.0f + static_cast<float>(kPurpleFeathers - 1) * 0.1f * width;
    ASSERT_TRUE(game->RunUntil([&] { return std::abs(lastFeather->m_x - lastX) < 0.5f; }, kReadyFrames));
    Shot("s11_results_two_views");
    expectPeopleInTheirViews("rows");
    ExpectViewsShowTheLevel("rows");

    // The title's word: its ink over the title's picture where no other overlay lies is all
    // above the first row (a fifth of the height down) and there is some.
    quellor::Entity* title = Made(0);
    ASSERT_NEAR(title->GetComponent<quellor::Transform2D>()->m_y, 0.0f, 1e-3f);
    std::vector<PixelRect> others;
    for (quellor::Entity* entity : game->FindEntitiesWithPrefix(""))
        if (entity != title && entity->GetComponent<quellor::GraphicsComponent2D>() &&
            entity->GetComponent<quellor::Transform2D>())
            others.push_back(OnShot(entity));
    const PixelRect picture = OnShot(title);
    const int band = picture.top + static_cast<int>(0.2f * static_cast<float>(picture.bottom - picture.top));
    const Rgb ink = LabelInk("results_title");
    int inBand = 0, below = 0;
    CountPixels(picture, [&](int x, int y, const Rgb& p) {
        for (std::size_t c = 0; c < 3; ++c)
            if (std::abs(p[c] - ink[c]) > 4)
                return false;
        if (std::any_of(others.begin(), others.end(), [&](const PixelRect& r) { return r.Holds(x, y); }))
            return false;
        ++(y < band ? inBand : below);
        return true;
    });
    EXPECT_GT(inBand, 200) << "the title's word does not show above the rows";
    EXPECT_LE(below, 50) << "the title's ink runs under the rows";

    // Each boid shows its team's colour, each feather its ink, where they stand.
    const Rgb feather = LabelInk("results_feather");
    for (std::size_t i = kOrangeBoid; i < kFirstMarker; ++i) {
        quellor::Entity* made = Made(i);
        if (i == kOrangeBoid || i == kPurpleBoid) {
            const ZOR::Material* material = made->GetComponent<quellor::GraphicsComponent2D>()->GetMaterial();
            const ZOR::Color& colour = material->GetDiffuseColor();
            const auto byte = [](float value) { return static_cast<int>(std::lround(value * 255.0f)); };
            const Rgb team{byte(colour.r), byte(colour.g), byte(colour.b)};
            const PixelRect rect = OnShot(made);
            const int all = (rect.right - rect.left) * (rect.bottom - rect.top);
            EXPECT_GT(CountNear(made, team, 16), all * 3 / 4) << made->GetName() << " does not show its team's colour";
        } else {
            EXPECT_GT(CountNear(made, feather, 40), 20) << made->GetName() << " does not show where it stands";
        }
    }

    // The tickets: each marker reads where its feather stood, over the title's picture too.
    const auto* lastMarker = Made(kFirstPreview - 1)->GetComponent<quellor::Transform2D>();
    ASSERT_TRUE(game->RunUntil([&] { return lastMarker->m_scaleX >= height / 7.0f - 1e-3f; }, kReadyFrames));
    Shot("s11_results_two_views_tickets");
    expectPeopleInTheirViews("tickets");
    ExpectViewsShowTheLevel("tickets");
    for (std::size_t i = kFirstMarker; i < kFirstPreview; ++i) {
        const std::string material = MaterialOf(i);
        const Rgb marker = LabelInk(material == "results_win.mat" ? "results_win" : "results_loss");
        EXPECT_GT(CountNear(Made(i), marker, 40), 20) << Made(i)->GetName() << " (" << material << ") does not read";
    }
}

} // namespace
} // namespace tarsel::test
