// S6 and S6b: the road from the main menu through character select into a match on "Beta.ql":
// one person on the keyboard (orange) against three computer players (red); then four people
// (the keyboard as pad 0, pads 1 to 3), each on their slot's colour.
#include "engine/Entity.h"
#include "engine/SoundSystem.h"
#include "engine/Transform2D.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/TextComponent.h"
#include "frontend/screens/CharSelectMenu.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/MatchOverlay.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "renderer/Camera.h"
#include "renderer/Material.h"
#include "tests/e2e/Scenario.h"
#include "tests/support/ArmPose.h"
#include "tests/support/MenuOcclusion.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace tarsel::test {
namespace {

using quellor::PlayerDataComponent;
using quellor::ThirdPersonCameraComponent;

// One portrait column of the versus screen: the team's background and the player's label.
struct Column {
    std::string team;
    std::string label; // "p1" to "p4" for people, "ai" for computer players
};

class MatchScenario : public Scenario {
protected:
    void SetUp() override
    {
        if (!MatchContentBuilt())
            GTEST_SKIP() << "the built content has no \"Beta.ql\" or menu level yet";
    }

    // Boots and walks the road; the fade falls and "default" is emptied before the level comes.
    void Enter(const std::vector<RoadPress>& road)
    {
        FlowSetup setup = ContentSetup();
        setup.drawEvery = 30;
        Boot(std::move(setup));
        StartMatch(road);
        bool levelSeen = false;
        ASSERT_TRUE(game->RunUntil([&] {
            bool gone = true;
            for (const quellor::EntityRef& entity : menuEntities)
                gone = gone && entity.Get() == nullptr;
            levelSeen = levelSeen || game->FindEntity("redSpawn") != nullptr;
            return gone;
        }, 60));
        EXPECT_FALSE(levelSeen);
        // The picture went black before the clear, and comes back with the intro.
        EXPECT_EQ(game->GetFadeFactor(), 0.0f);
        ASSERT_TRUE(game->RunUntil([&] {
            NoteRaisedArms();
            return IntroRuns();
        }, 10));
        introStart = game->GetGame().GetFrameCount();
    }

    // The versus screen as the intro builds it, read in the intro's first frames: its columns
    // left to right, each with its boid, and a sign between each two teams.
    void ExpectVersusScreen(const std::vector<Column>& expected)
    {
        ASSERT_TRUE(game->RunUntil([&] {
            NoteRaisedArms();
            return game->FindEntitiesWithPrefix("portrait").size() == 2 * expected.size();
        }, 3));
        std::map<float, std::set<std::string>> columns;
        for (quellor::Entity* portrait : game->FindEntitiesWithPrefix("portrait"))
            columns[game->FindTransform2D(portrait->GetName())->m_x].insert(game->FindMaterial(portrait->GetName()));
        std::vector<std::set<std::string>> found;
        std::vector<float> xs;
        for (const auto& [x, materials] : columns) {
            xs.push_back(x);
            found.push_back(materials);
        }
        std::vector<std::set<std::string>> wanted;
        for (const Column& column : expected)
            wanted.push_back({column.team + "_portrait_bg.mat", column.label + "_portrait_bg.mat"});
        EXPECT_EQ(found, wanted);

        std::map<float, std::string> boids;
        for (quellor::Entity* boid : game->FindEntitiesWithPrefix("boid"))
            boids[game->FindTransform2D(boid->GetName())->m_x] = game->FindMaterial(boid->GetName());
        std::vector<std::string> boidMaterials;
        for (const auto& [x, material] : boids)
            boidMaterials.push_back(material);
        std::vector<std::string> wantedBoids;
        for (const Column& column : expected)
            wantedBoids.push_back(column.team + "_boid.mat");
        EXPECT_EQ(boidMaterials, wantedBoids);

        // A sign stands in each gap between two teams, and only there.
        std::vector<float> signs;
        for (quellor::Entity* sign : game->FindEntitiesWithPrefix("versus")) {
            EXPECT_EQ(game->FindMaterial(sign->GetName()), "versus.mat");
            signs.push_back(game->FindTransform2D(sign->GetName())->m_x);
        }
        std::size_t changes = 0;
        for (std::size_t i = 0; i + 1 < expected.size() && xs.size() == expected.size(); ++i) {
            const auto between = std::count_if(signs.begin(), signs.end(),
                                               [&](float x) { return x > xs[i] && x < xs[i + 1]; });
            const bool change = expected[i].team != expected[i + 1].team;
            EXPECT_EQ(between, change ? 1 : 0) << "between columns " << i << " and " << i + 1;
            changes += change ? 1 : 0;
        }
        versusSigns = signs.size();
        EXPECT_EQ(versusSigns, changes);
    }

    // Nobody stands in the model's bind pose: every player's upper arms point at least 45 degrees
    // down. The first player seen otherwise is noted in raisedArm.
    void NoteRaisedArms()
    {
        const float hang = std::sin(45.0f * 3.14159265f / 180.0f);
        for (quellor::Entity* player : MatchPlayers()) {
            auto* skinned = player->GetComponent<quellor::GraphicsComponent3DSkinned>();
            if (!skinned && raisedArm.empty())
                raisedArm = player->GetName() + " has no skinned model";
            for (int arm = 0; arm < 2 && skinned && raisedArm.empty(); ++arm) {
                const float drop = UpperArmDrop(skinned->GetAnimationController(), arm);
                if (!(drop >= hang))
                    raisedArm = player->GetName() + "'s arm " + std::to_string(arm) + " at " +
                                std::to_string(std::asin(drop) * 180.0f / 3.14159265f) +
                                " degrees below horizontal in frame " + std::to_string(game->GetGame().GetFrameCount());
            }
        }
    }

    // The versus screen once every column has dropped in, as drawn: in the part of each column
    // that the next one leaves uncovered, its label's white letters below the boid and the
    // team's background above them, and the team's boid in its colour over the column's edge.
    void ExpectVersusFrame(const std::string& shot)
    {
        const ZOR::float2 area = game->GetGame().GetGraphicsSystem()->GetOrthographicProjectionSize(-1);
        const float s = area.y * 0.0009259259f;
        const float top = area.y * 0.33333334f;
        auto settled = [&] {
            NoteRaisedArms();
            std::vector<quellor::Entity*> pictures = game->FindEntitiesWithPrefix("portrait");
            for (quellor::Entity* boid : game->FindEntitiesWithPrefix("boid"))
                pictures.push_back(boid);
            for (quellor::Entity* picture : pictures) {
                const auto* at = picture->GetComponent<quellor::Transform2D>();
                const bool boid = picture->GetName().rfind("boid", 0) == 0;
                if (std::abs(at->m_y - (boid ? top + 80.0f * s : top)) > 0.01f ||
                    std::abs(at->m_scaleX - (boid ? 80.0f : 256.0f) * s) > 0.01f)
                    return false;
            }
            return !pictures.empty() && game->GetFadeFactor() >= 1.0f;
        };
        ASSERT_TRUE(game->RunUntil(settled, 8 * 60));
        Shot(shot);
        ASSERT_TRUE(settled()) << "the versus screen moved while the shot was taken";
        const ZOR::Dimension size = game->GetGame().GetGraphicsSystem()->GetResolution();
        ASSERT_EQ(lastShot.size(), std::size_t{size.width} * size.height * 4);
        const float toPixels = static_cast<float>(size.width) / area.x;
        // Counts the pixels of a rectangle of the 2D area (x, y, width, height) that pass.
        auto count = [&](float x, float y, float width, float height, const std::function<bool(const std::uint8_t*)>& pass) {
            return CountShotPixels(static_cast<int>(x * toPixels), static_cast<int>(y * toPixels),
                                   static_cast<int>((x + width) * toPixels), static_cast<int>((y + height) * toPixels),
                                   [&](int, int, const std::uint8_t* p) { return pass(p); });
        };
        auto near = [](const ZOR::Color& colour) {
            return [colour](const std::uint8_t* p) {
                const float c[3] = {colour.r, colour.g, colour.b};
                for (int k = 0; k < 3; ++k)
                    if (std::abs(static_cast<float>(p[k]) - 255.0f * c[k]) > 8.0f)
                        return false;
                return true;
            };
        };
        // The letters are white; filtered down to the window they blur into light greys.
        auto light = [](const std::uint8_t* p) { return p[0] >= 180 && p[1] >= 180 && p[2] >= 180; };
        auto colourOf = [&](quellor::Entity* picture) {
            return picture->GetComponent<quellor::GraphicsComponent2D>()->GetMaterial()->GetDiffuseColor();
        };

        std::map<float, quellor::Entity*> backgrounds;
        for (quellor::Entity* portrait : game->FindEntitiesWithPrefix("portrait")) {
            const std::string material = game->FindMaterial(portrait->GetName());
            if (quellor::IsContentTeam(material.substr(0, material.find('_'))))
                backgrounds[portrait->GetComponent<quellor::Transform2D>()->m_x] = portrait;
        }
        std::map<float, quellor::Entity*> boids;
        for (quellor::Entity* boid : game->FindEntitiesWithPrefix("boid"))
            boids[boid->GetComponent<quellor::Transform2D>()->m_x - 90.0f * s] = boid;
        ASSERT_FALSE(backgrounds.empty());
        ASSERT_EQ(boids.size(), backgrounds.size());
        const float strip = 150.0f * s; // the next column covers the rest
        const float inkArea = strip * 80.0f * s;
        for (const auto& [x, background] : backgrounds) {
            const std::string what = game->FindMaterial(background->GetName()) + " column at " + std::to_string(x);
            // The label's letters, in the column's own part below the boid (a few percent of it
            // at this size; none without a label on top).
            EXPECT_GT(count(x, top + 170.0f * s, strip, 80.0f * s, light), static_cast<int>(0.02f * inkArea * toPixels * toPixels))
                << what << ": no label reads on it";
            // The background shows above the letters, beside the boid.
            EXPECT_GT(count(x + 10.0f * s, top + 10.0f * s, 70.0f * s, 150.0f * s, near(colourOf(background))),
                      static_cast<int>(0.8f * 70.0f * 150.0f * s * s * toPixels * toPixels))
                << what << ": the team's background does not show";
            // The boid, whole and in its colour.
            const auto boid = boids.lower_bound(x - 0.01f);
            ASSERT_NE(boid, boids.end()) << what;
            EXPECT_NEAR(boid->first, x, 0.01f) << what;
            EXPECT_GT(count(x + 92.0f * s, top + 82.0f * s, 76.0f * s, 76.0f * s, near(colourOf(boid->second))),
                      static_cast<int>(0.9f * 76.0f * 76.0f * s * s * toPixels * toPixels))
                << what << ": its boid does not show";
        }
    }

    // Runs the intro to its end: nobody moves, the match is inactive and one view is drawn while
    // it runs; it lasts its timeline of timed steps; then its sounds have played. Nobody has
    // stood in the model's bind pose since the players came (NoteRaisedArms).
    void RunIntro(float seconds, int timedSteps)
    {
        bool controlled = false;
        bool active = false;
        bool split = false;

        // The people join in the intro's first frame, after it took the screens of those it
        // found; it takes theirs in the next.
        ASSERT_TRUE(game->RunUntil([&] {
            if (!IntroRuns())
                return true;
            NoteRaisedArms();
            for (quellor::Entity* player : MatchPlayers())
                controlled = controlled || player->GetComponent<PlayerDataComponent>()->GetControlable();
            active = active || game->GetGameLogic()->m_active;
            split = split || (game->GetGame().GetFrameCount() > introStart && game->GetScreenCount() != 1);
            return false;
        }, 20 * 60));
        EXPECT_FALSE(controlled);
        EXPECT_FALSE(active);
        EXPECT_FALSE(split);
        EXPECT_EQ(raisedArm, "");
        // Each step of a sequence starts, and has its first update, in the frame its predecessor
        // ends in: the intro is a frame shorter than its seconds for each step after the first,
        // and a step whose seconds the frame times reach only after rounding takes one more.
        const auto frames = static_cast<int>(game->GetGame().GetFrameCount() - introStart);
        RecordProperty("intro_frames", frames);
        const int wanted = static_cast<int>(std::lround(seconds * 60.0f));
        EXPECT_GE(frames, wanted - (timedSteps - 1));
        EXPECT_LE(frames, wanted + 1);

        EXPECT_EQ(game->CountPlays("swoosh_75.ogg"), static_cast<int>(versusSigns));
        EXPECT_EQ(game->CountPlays("countdown_beep.ogg"), 3);
        EXPECT_EQ(game->CountPlays("countdown_beep_final.ogg"), 1);
        // The final beep comes after the three others.
        const std::vector<std::string> calls = game->SoundCalls();
        const auto final = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
            return call.rfind("play countdown_beep_final.ogg ", 0) == 0;
        });
        EXPECT_EQ(std::count_if(final, calls.end(), [](const std::string& call) {
                      return call.rfind("play countdown_beep.ogg ", 0) == 0;
                  }), 0);
        quellor::SoundSystem* sound = game->GetGame().GetSoundSystem();
        EXPECT_TRUE(sound->IsPlaying("theme_gameplay.ogg", quellor::SoundSystem::SongTable));
        EXPECT_FALSE(sound->IsPlaying("theme_menu.ogg", quellor::SoundSystem::SongTable));
    }

    // After the intro everyone may move and the match runs; each person gets a view of their own
    // with the reticle and, a frame later, the score "0 / 5".
    void ExpectHandOver(std::size_t people)
    {
        for (quellor::Entity* player : MatchPlayers())
            EXPECT_TRUE(player->GetComponent<PlayerDataComponent>()->GetControlable()) << player->GetName();
        quellor::GameLogicSystem* logic = game->GetGameLogic();
        EXPECT_TRUE(logic->m_active);
        EXPECT_EQ(game->GetScreenCount(), people);

        auto scoresShown = [&] {
            if (logic->GetScoreTexts().size() != MatchPlayers().size())
                return false;
            for (const quellor::EntityRef& text : logic->GetScoreTexts()) {
                auto* component = text.Get() ? text.Get()->GetComponent<quellor::TextComponent>() : nullptr;
                if (!component || component->GetValue() != "0 / 5")
                    return false;
            }
            return true;
        };
        // The score display is built a frame after the intro asks for it.
        EXPECT_FALSE(scoresShown());
        ASSERT_TRUE(game->Frame());
        EXPECT_TRUE(scoresShown());

        std::set<int> screens;
        quellor::GraphicsSystem* graphics = game->GetGame().GetGraphicsSystem();
        for (quellor::Entity* player : MatchPlayers()) {
            auto* camera = player->GetComponent<ThirdPersonCameraComponent>();
            if (!camera)
                continue;
            // The intro took the reticle away; the camera's first update after it makes it again.
            ASSERT_NE(camera->GetReticle(), nullptr) << player->GetName();
            // People join in slot order, each taking the next view.
            const int screen = camera->GetScreenID();
            EXPECT_EQ(screen, player->GetComponent<PlayerDataComponent>()->controllerID) << player->GetName();
            screens.insert(screen);
            auto* reticle = camera->GetReticle()->GetComponent<quellor::GraphicsComponent2D>();
            ASSERT_NE(reticle, nullptr);
            EXPECT_TRUE(reticle->GetVisible(screen)) << player->GetName();
            EXPECT_EQ(reticle->GetScreenID(), screen) << player->GetName();
            // The view's camera follows this player: it is the screen's camera, a camera radius or
            // so from the player.
            EXPECT_EQ(camera->GetCamera(), &graphics->GetActiveCamera(screen)) << player->GetName();
            const ZOR::float3 eye = camera->GetCamera()->GetPosition();
            const quellor::Vec4 body = player->GetComponent<quellor::Transform3D>()->GetPosition();
            const float distance = std::hypot(eye.x - body.x, eye.y - body.y, eye.z - body.z);
            EXPECT_LT(distance, 3.0f * 15.0f) << player->GetName();
        }
        EXPECT_EQ(screens.size(), people);
    }

    quellor::CharSelectMenu* CharSelect() const
    {
        return static_cast<quellor::CharSelectMenu*>(game->FindScreen("CharSelectMenu"));
    }

    // Every scroll, rolled up, lies within the left and right edges of the board behind it.
    void ExpectScrollsOnTheBoard()
    {
        ASSERT_NE(CharSelect(), nullptr);
        const quellor::Entity* board = game->FindEntity("charSelectBoard");
        ASSERT_NE(board, nullptr);
        const auto* at = board->GetComponent<quellor::Transform3D>();
        const MenuTarget* target = FindMenuTarget("CharSelectMenu");
        ASSERT_NE(target, nullptr);
        for (int slot = 0; slot < 4; ++slot) {
            const quellor::Entity* scroll = CharSelect()->GetScroll(slot);
            ASSERT_NE(scroll, nullptr);
            for (const MenuTarget::Vec3& point : SightPoints(*scroll, *target)) {
                EXPECT_GT(point.x, at->m_x - at->m_scaleX / 2.0f) << "scroll " << slot;
                EXPECT_LT(point.x, at->m_x + at->m_scaleX / 2.0f) << "scroll " << slot;
            }
        }
    }

    // The person's scroll, unrolled, is not drawn like the board: its sheet, left of the slot's
    // widgets, against the board where a rolled-up scroll leaves it bare.
    void ExpectJoinedScrollStandsOut()
    {
        ASSERT_NE(CharSelect(), nullptr);
        const quellor::Entity* joined = CharSelect()->GetScroll(0);
        const quellor::Entity* rolled = CharSelect()->GetScroll(2);
        ASSERT_NE(joined, nullptr);
        ASSERT_NE(rolled, nullptr);
        const quellor::Vec4 sheet = joined->GetComponent<quellor::Transform3D>()->GetPosition();
        const quellor::Vec4 bare = rolled->GetComponent<quellor::Transform3D>()->GetPosition();
        EXPECT_GE(ShotContrast(ZOR::float3(sheet.x - 17.0f, sheet.y - 15.0f, sheet.z - 6.0f),
                               ZOR::float3(bare.x - 10.0f, bare.y - 15.0f, bare.z - 6.7f)),
                  2.0f);
    }

    std::uint32_t introStart = 0;
    std::size_t versusSigns = 0;
    std::string raisedArm;
};

TEST_F(MatchScenario, S6TheMainRoadIntoAMatch)
{
    // Character select's boards stand clear of the scrolls, rolled up before anyone joins and
    // open once the person and the computer players are in.
    const std::size_t start = MainRoad().size() - 1;
    beforePress = [&](std::size_t press) {
        if (press == 0) {
            ExpectCharSelectBoardsSeen("before anyone joins");
            ExpectScrollsOnTheBoard();
        }
        if (press == start) {
            ExpectCharSelectBoardsSeen("ready to start");
            Shot("s6_char_select");
            ExpectJoinedScrollStandsOut();
        }
    };
    Enter(MainRoad());
    ASSERT_TRUE(game->RunUntil([&] { return MatchPlayers().size() == 4; }, 10));
    int people = 0;
    for (quellor::Entity* player : MatchPlayers()) {
        auto* data = player->GetComponent<PlayerDataComponent>();
        if (data->controllerID == 0) {
            ++people;
            EXPECT_EQ(data->playerTeam, "orange");
        } else {
            EXPECT_EQ(data->controllerID, -1);
            EXPECT_EQ(data->playerTeam, "red");
        }
    }
    EXPECT_EQ(people, 1);
    EXPECT_EQ(game->GetScreenCount(), 1u);

    // Teams in name order: the person's orange column first, then the three red ones.
    ExpectVersusScreen({{"orange", "p1"}, {"red", "ai"}, {"red", "ai"}, {"red", "ai"}});
    EXPECT_EQ(versusSigns, 1u);
    ExpectVersusFrame("s6_versus");
    // 0.3 s a column, 1.25 s a sign (three steps), 2 s still, the countdown's 4.5 s (eleven).
    RunIntro(8.95f, 4 + 3 + 1 + 11);
    ExpectHandOver(1);
    Shot("s6_match");
}

TEST_F(MatchScenario, S6bFourPeopleEachOnTheirSlotsColour)
{
    // The keyboard joins slot 0, pads 1 to 3 the others; each takes hair, mask and the slot's
    // own team as they come, and the keyboard starts once all are ready.
    std::vector<RoadPress> road = {{RoadPress::kKeyboard, kSpaceKey}};
    for (int pad = 1; pad < 4; ++pad)
        road.push_back({pad, kPadA});
    for (int i = 0; i < 3; ++i)
        road.push_back({RoadPress::kKeyboard, kSpaceKey});
    for (int pad = 1; pad < 4; ++pad)
        for (int i = 0; i < 3; ++i)
            road.push_back({pad, kPadA});
    road.push_back({RoadPress::kKeyboard, kSpaceKey});
    Enter(road);

    ASSERT_TRUE(game->RunUntil([&] { return MatchPlayers().size() == 4; }, 10));
    const char* const colours[] = {"red", "orange", "purple", "green"};
    std::set<int> slots;
    for (quellor::Entity* player : MatchPlayers()) {
        auto* data = player->GetComponent<PlayerDataComponent>();
        ASSERT_GE(data->controllerID, 0) << player->GetName();
        ASSERT_LT(data->controllerID, 4) << player->GetName();
        slots.insert(data->controllerID);
        EXPECT_EQ(data->playerTeam, colours[data->controllerID]) << player->GetName();
    }
    EXPECT_EQ(slots.size(), 4u);

    // Four teams in name order, a sign between each two.
    ExpectVersusScreen({{"green", "p4"}, {"orange", "p2"}, {"purple", "p3"}, {"red", "p1"}});
    EXPECT_EQ(versusSigns, 3u);
    ExpectVersusFrame("s6b_versus");
    RunIntro(11.45f, 4 + 3 * 3 + 1 + 11);
    ExpectHandOver(4);
    Shot("s6b_four_views");
}

} // namespace
} // namespace tarsel::test
