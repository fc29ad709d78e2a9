// The content set in the real game: the menu level the main menu loads holds every prop the
// menu screens look up, once, in view of its screen's camera, and nothing in it warns.
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform3D.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/MainMenu.h"
#include "tarsel/Game.h"
#include "tests/startup/MenuLevelGame.h"
#include "tests/support/ContentDir.h"
#include "tests/support/MenuOcclusion.h"
#include "tests/support/MenuTargets.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

// Where a point falls on a 16:9 picture 60 degrees wide, the middle of the game's wider view (so a
// prop inside it stands well inside the picture): x and y in -1..1 inside, depth along the look.
struct Projected {
    float x, y, depth;
};
Projected Project(const tarsel::test::MenuTarget& view, const tarsel::test::MenuTarget::Vec3& point)
{
    const tarsel::test::ViewPoint seen = tarsel::test::SeenFrom(view, point);
    const float halfWidth = std::tan(30.0f * 3.14159265f / 180.0f);
    const float halfHeight = halfWidth * 9.0f / 16.0f;
    return {seen.right / halfWidth, seen.up / halfHeight, seen.depth};
}

std::string Percent(float share) { return std::to_string(static_cast<int>(std::lround(share * 100.0f))) + " %"; }

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void ExpectCleanLog(const std::string& log)
{
    for (const char* bad : {"Warning", "warning", "Error", "error", "cannot", "missing"})
        EXPECT_EQ(log.find(bad), std::string::npos) << "the log says \"" << bad << "\":\n" << log;
}

TEST(ContentLoad, MenuLevelHoldsEveryScreenPropOnceInItsViewUnhiddenAndLoadsWithoutWarnings)
{
    tarsel::test::TempDir documents(true);
    tarsel::test::WorkingDirectory cwd(tarsel::test::ContentDir());
    const tarsel::Options options = tarsel::test::SkipSplashOptions(documents);

    const std::string level = ReadAll(tarsel::test::ContentDir() / "levels/MainMenuTest.ql");
    std::string log;
    std::string faults; // one line for each, told at the end
    {
        tarsel::test::StdoutCapture capture;
        tarsel::Game game(options);
        std::string error;
        ASSERT_TRUE(game.LoadInputScript(error)) << error;
        ASSERT_TRUE(game.Start());
        // Through the splash screens and the loading screen to the main menu, which loads the
        // menu level.
        tarsel::test::RunToTheMenu(game);
        // The checks below run no frame: the game's output ends here, and the checks' own lines
        // reach the test's output.
        log = capture.Text();
        quellor::Engine* engine = quellor::Engine::Instance();
        const auto* sun = engine->GetEntity("menuSun", "default")->GetComponent<quellor::Transform3D>();
        const float fov = engine->GetSystem<quellor::GraphicsSystem>("default")->GetFOV();

        for (const tarsel::test::MenuTarget& view : tarsel::test::MenuTargets()) {
            std::vector<const quellor::Entity*> props;
            for (const char* name : view.props) {
                const std::string tag = std::string("<") + name + ">";
                const std::size_t first = level.find(tag);
                ASSERT_NE(first, std::string::npos) << name;
                EXPECT_EQ(level.find(tag, first + 1), std::string::npos) << name << " twice in the level";
                quellor::Entity* entity = engine->GetEntity(name, "default");
                ASSERT_NE(entity, nullptr) << name;
                auto* transform = entity->GetComponent<quellor::Transform3D>();
                auto* model = entity->GetComponent<quellor::GraphicsComponent3D>();
                ASSERT_NE(transform, nullptr) << name;
                ASSERT_NE(model, nullptr) << name;
                const Projected p = Project(view, {transform->m_x, transform->m_y, transform->m_z});
                EXPECT_GT(p.depth, 1.0f) << name << " in front of " << view.screen;
                EXPECT_LT(std::abs(p.x), 0.95f) << name << " across " << view.screen;
                EXPECT_LT(std::abs(p.y), 0.95f) << name << " up " << view.screen;
                props.push_back(entity);
            }
            // Nothing of the level stands between the screen's camera and a prop it shows.
            for (const std::string& line : tarsel::test::Occlusions(props, view))
                faults += std::string(view.screen) + ": " + line + "\n";
            // Each screen shows its own board whole, at most a sliver of the others, and no other
            // board's shadow across it.
            const tarsel::test::BoardsInView boards = tarsel::test::BoardsSeenFrom(view, fov, {sun->m_x, sun->m_y, sun->m_z});
            if (boards.othersShare > 0.1f)
                faults += std::string(view.screen) + ": other screens' boards fill " + Percent(boards.othersShare) +
                          " of the view (at most 10 %)\n";
            if (boards.litShare < 0.9f)
                faults += std::string(view.screen) + ": the sun lights " + Percent(boards.litShare) + " of " + view.board +
                          " past the other boards (at least 90 %)\n";
            for (const std::string& line : boards.faults)
                faults += std::string(view.screen) + ": " + line + "\n";
        }
        // The sun casts the main menu cursor's shadow right under it, at each item: seen from a
        // sun at a steep angle, the floating arrow's shadow reads as a second arrow below it.
        const auto* board = engine->GetEntity("mainMenuBoard", "default")->GetComponent<quellor::Transform3D>();
        const float boardFront = board->m_z + 0.01f * board->m_scaleZ; // the board model is 0.02 deep
        for (unsigned item = 0; item < quellor::MainMenu::ItemCount; ++item) {
            const quellor::Vec4 cursor = quellor::MainMenu::CursorPosition(item);
            const float t = (cursor.z - boardFront) / (sun->m_z - cursor.z);
            EXPECT_LT(std::hypot(t * (cursor.x - sun->m_x), t * (cursor.y - sun->m_y)), 0.6f) << "item " << item;
        }
        // The check marks the graphics options show start at their shown size.
        EXPECT_FLOAT_EQ(engine->GetEntity("lightingCheck", "default")->GetComponent<quellor::Transform3D>()->m_scaleX, 0.4f);
    }
    EXPECT_TRUE(faults.empty()) << faults;
    ExpectCleanLog(log);
}

TEST(ContentLoad, ArenasAndArchetypesLoadWithoutWarnings)
{
    tarsel::test::TempDir documents(true);
    tarsel::test::WorkingDirectory cwd(tarsel::test::ContentDir());
    std::string log;
    {
        tarsel::test::StdoutCapture capture;
        tarsel::Game game(tarsel::test::SkipSplashOptions(documents));
        std::string error;
        ASSERT_TRUE(game.LoadInputScript(error)) << error;
        ASSERT_TRUE(game.Start());
        tarsel::test::RunToTheMenu(game);
        quellor::Engine* engine = quellor::Engine::Instance();
        auto* objects = engine->GetSystem<quellor::ObjectSystem>("default");
        ASSERT_NE(objects, nullptr);
        // Loaded one after the other without a frame between: nothing is drawn, and the second
        // level's entities take numbered names beside the first's.
        objects->LoadLevel("Beta.ql");
        EXPECT_NE(engine->GetEntity("island_red_stone1", "default"), nullptr);
        EXPECT_NE(engine->GetEntity("killVolume", "default"), nullptr);
        objects->LoadLevel("alpha.ql");
        engine->DestroyDefaultEntities();
        for (const char* archetype : {"reticle.arch", "reticuleRing.arch", "beta_player.arch", "ai_bot.arch"})
            EXPECT_FALSE(objects->Clone(archetype, "probe", "default")->GetComponentMap().empty()) << archetype;
        log = capture.Text();
    }
    ExpectCleanLog(log);
}

} // namespace
